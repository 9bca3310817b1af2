// Helpers of the configuration tests: a main-window stand-in that records
// what the pages ask of it, and a script that answers the modal prompts and
// message boxes a click opens on this thread.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/Messages.h"
#include "app/MonitorApp.h"
#include "device/WLANDevice.h"
#include "pages/PageHost.h"
#include "pages_support.h"

namespace cfgtest {

class TestHost : public pagetest::Host, public IPageHost {
public:
    void ShowTab(int tab) override { tabs.push_back(tab); }
    const SiteInfo* SurveyedNetwork(unsigned index) override { return theDevice.GetSiteInfo(index); }
    void ProfileApplied(const std::string& name) override { applied.push_back(name); }

    std::vector<int> tabs;
    std::vector<std::string> applied;
};

// Each step waits for a shown top-level window of this thread with the
// given caption, then acts on it. Message boxes' texts are collected.
class ModalScript {
public:
    struct Step {
        std::string caption;
        std::function<void(HWND)> act;
    };
    explicit ModalScript(std::vector<Step> steps) : m_steps(std::move(steps)) {
        s_current = this;
        m_timer = ::SetTimer(nullptr, 0, 20, &ModalScript::OnTimer);
    }
    ~ModalScript() {
        ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    bool Done() const { return m_next == m_steps.size(); }

    std::vector<std::string> messages;

    // The text of a message box.
    static std::string MessageText(HWND box) {
        std::string longest;
        for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char cls[16] = {}, text[512] = {};
            ::GetClassNameA(child, cls, sizeof(cls));
            ::GetWindowTextA(child, text, sizeof(text));
            if (lstrcmpiA(cls, "Static") == 0 && std::string(text).size() > longest.size()) longest = text;
        }
        return longest;
    }
    static void Press(HWND dialog, int id) { ::PostMessageA(dialog, WM_COMMAND, id, 0); }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
        ModalScript* self = s_current;
        if (!self || self->Done()) return;
        const Step& step = self->m_steps[self->m_next];
        HWND found = nullptr;
        std::pair<const std::string*, HWND*> wanted(&step.caption, &found);
        ::EnumThreadWindows(::GetCurrentThreadId(), &ModalScript::Match, reinterpret_cast<LPARAM>(&wanted));
        if (!found) return;
        ++self->m_next;
        if (::GetDlgItem(found, IDOK) && !::GetDlgItem(found, 1028)) self->messages.push_back(MessageText(found));
        step.act(found);
    }

    static BOOL CALLBACK Match(HWND hwnd, LPARAM lp) {
        auto* wanted = reinterpret_cast<std::pair<const std::string*, HWND*>*>(lp);
        char text[256] = {};
        ::GetWindowTextA(hwnd, text, sizeof(text));
        if (::IsWindowVisible(hwnd) && *wanted->first == text) {
            *wanted->second = hwnd;
            return FALSE;
        }
        return TRUE;
    }

    static inline ModalScript* s_current = nullptr;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
};

}  // namespace cfgtest
