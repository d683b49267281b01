// The help window's class run in this process, on the program's own template and help page:
// the browser is pointed at the help page inside the running program file (this test program,
// which is not named like the product), and the links show and open what they should.
#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/help_dlg.h"
#include "controls/help_ids.h"
#include "controls/web_browser2.h"
#include "framework/activex_site.h"
#include "harness.h"

namespace {

class OleEnvironment : public ::testing::Environment {
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        ASSERT_TRUE(fw::RegisterAxHost());
    }
    void TearDown() override { OleUninitialize(); }
};
::testing::Environment* const kOle = ::testing::AddGlobalTestEnvironment(new OleEnvironment);

// Every address that a browser of this thread is about to navigate to.
std::vector<std::string> g_navigations;

struct NavigationWatch : WebBrowserEvents {
    void BeforeNavigate(const std::string& url, const std::string&, bool&) override { g_navigations.push_back(url); }
    void TitleChange(const std::string&) override {}
};

LRESULT CALLBACK WatchNavigations(int code, WPARAM wp, LPARAM lp) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    if (code == HC_ACTION && call->message == WM_NOTIFY) {
        NavigationWatch watch;
        CWebBrowser2::DecodeEvent(reinterpret_cast<const NMHDR*>(call->lParam), watch);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The resource that a res://<file>/<type>/<name> address names, read as the browser reads it.
std::string ResourceAt(const std::string& address) {
    const std::string scheme = "res://";
    if (address.compare(0, scheme.size(), scheme) != 0)
        return "<not a res: address>";
    const size_t name = address.rfind('/'), type = address.rfind('/', name - 1);
    if (type == std::string::npos || type < scheme.size())
        return "<no type and name>";
    const std::string file = address.substr(scheme.size(), type - scheme.size());
    const int typeId = atoi(address.c_str() + type + 1), nameId = atoi(address.c_str() + name + 1);
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return "<cannot load " + file + ">";
    std::string bytes = "<no resource>";
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(nameId), MAKEINTRESOURCEA(typeId)))
        bytes.assign(static_cast<const char*>(LockResource(LoadResource(module, found))),
                     SizeofResource(module, found));
    FreeLibrary(module);
    return bytes;
}

// Runs a script inside the help window's modal loop once the window is up, then closes it.
class ScriptedHelp : public CHelpDlg {
public:
    explicit ScriptedHelp(std::function<void(HWND)> script) : m_script(std::move(script)) {}

protected:
    BOOL OnInitDialog() override {
        const BOOL result = CHelpDlg::OnInitDialog();
        PostMessageW(m_hWnd, kRunScript, 0, 0);
        return result;
    }
    bool OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) override {
        if (msg != kRunScript)
            return false;
        m_script(m_hWnd);
        EndDialog(IDCANCEL);
        return true;
    }

private:
    static constexpr UINT kRunScript = WM_APP + 7;
    std::function<void(HWND)> m_script;
};

TEST(HelpDlg, BrowserShowsTheHelpPageOfTheRunningProgramFile) {
    g_navigations.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchNavigations, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    ScriptedHelp help([](HWND) {
        vt::WaitUntil(
            [] {
                Pump();
                return !g_navigations.empty();
            },
            15000);
    });
    EXPECT_EQ(IDCANCEL, help.DoModal());
    UnhookWindowsHookEx(hook);

    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    ASSERT_EQ(1u, g_navigations.size());
    EXPECT_EQ(std::string("res://") + self + "/23/" + std::to_string(IDR_HELP_PAGE), g_navigations[0]);
    const std::string page = ResourceAt(g_navigations[0]);
    for (const char* part : {"<title>New Page 1</title>", "charset=windows-1252", "Vintrosk! Help", "Open Online Help",
                             "You must be connected to the Internet to view the online help files."})
        EXPECT_NE(std::string::npos, page.find(part)) << part << " in\n" << page.substr(0, 200);
}

TEST(HelpDlg, WebLinkShowsTheSiteAndOpensTheProductPageMailLinkOpensItsAddressAsMail) {
    ScriptedHelp help([](HWND window) {
        struct Case {
            int id;
            const char* text;
            const char* target;
        } cases[] = {
            {IDC_HELP_WEB_LINK, "https://vintrosk.example/", "https://vintrosk.example/vintrosk/"},
            {IDC_HELP_MAIL_LINK, "support@vintrosk.example", "mailto:support@vintrosk.example"},
        };
        for (const Case& c : cases) {
            HWND link = GetDlgItem(window, c.id);
            EXPECT_EQ(c.text, vt::Title(link));
            EXPECT_EQ(c.target, vt::ToolText(link));
            // Fitted to the text: much narrower than the 115 dialog units of the template.
            RECT box = {0, 0, 115, 8}, client;
            MapDialogRect(window, &box);
            GetClientRect(link, &client);
            EXPECT_LT(client.right, box.right) << c.text;
            EXPECT_FALSE(GetWindowLongA(link, GWL_STYLE) & WS_TABSTOP) << "reached by a click only";
        }
        EXPECT_EQ("Vintrosk! Version 1.56", vt::Title(GetDlgItem(window, IDC_HELP_VERSION)).substr(0, 22));
    });
    EXPECT_EQ(IDCANCEL, help.DoModal());
}

} // namespace
