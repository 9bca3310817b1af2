// The prompt for a new profile's name (template 136): one edit, OK. A name
// longer than 32 characters, one with a "\" (it would name a key path) or
// one that is already taken is refused with a message and the prompt stays.
#pragma once

#include <functional>
#include <string>

#include "framework/Dialog.h"

class CProfileNameDlg : public fw::CDialog {
public:
    // `isTaken` answers whether a profile of that name exists already.
    explicit CProfileNameDlg(std::function<bool(const std::string&)> isTaken);

    const std::string& Name() const { return m_strName; }

    static constexpr int kMaxNameChars = 32;

protected:
    void DoDataExchange(fw::CDataExchange& dx) override;
    void OnOK() override;

private:
    void Refuse(const std::string& reason);

    std::string m_strName;
    std::function<bool(const std::string&)> m_isTaken;
};
