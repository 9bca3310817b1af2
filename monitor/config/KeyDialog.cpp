#include "config/KeyDialog.h"

#include <cstring>

void CKeyDialog::ReportKeys(bool valid) const {
    if (m_pHost) m_pHost->EnableSaveApply(valid);
}

std::string CKeyDialog::TextOf(const char* field, size_t size) {
    if (size == 0) return std::string();
    return std::string(field, ::strnlen(field, size - 1));
}

void CKeyDialog::CopyInto(char* field, size_t size, const std::string& text) {
    if (size == 0) return;
    const size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), length);
}
