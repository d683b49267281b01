// The viewer window's class itself, run modally in this process on the program's template:
// what only shows from inside -- the template's size, every navigation passing the handler
// with its URL as given and its cancel flag honoured, the browser's events reaching the
// title, and the window's icon.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/activex_site.h"
#include "harness.h"
#include "resource.h"
#include "viewer/viewer_dlg.h"
#include "viewer_fixtures.h"

using namespace vt;

namespace {

const UINT_PTR kScriptTimer = 77;
const int kScriptPollMs = 20;
const int kShowPolls = 250;

// Runs a script inside the viewer's modal loop once the window shows, then closes it; notes
// every navigation and cancels those that hold cancelIfHas.
class ScriptedViewer : public CViewerDlg {
 public:
  std::function<void(ScriptedViewer&)> script;
  std::string cancelIfHas;
  std::vector<std::string> navigations;
  bool shown = false;

 protected:
  // The modal loop shows the window once its queue is empty; a timer waits for that.
  BOOL OnInitDialog() override {
    const BOOL result = CViewerDlg::OnInitDialog();
    SetTimer(m_hWnd, kScriptTimer, kScriptPollMs, nullptr);
    return result;
  }
  bool OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT&) override {
    if (msg != WM_TIMER || wp != kScriptTimer) return false;
    shown = IsWindowVisible(m_hWnd) != FALSE;
    if (!shown && ++polls_ < kShowPolls) return true;
    KillTimer(m_hWnd, kScriptTimer);
    if (script) script(*this);
    EndDialog(IDCANCEL);
    return true;
  }
  void OnBeforeNavigate2(const std::string& url, BOOL& cancel) override {
    navigations.push_back(url);
    if (!cancelIfHas.empty() && url.find(cancelIfHas) != std::string::npos) cancel = TRUE;
  }

 private:
  int polls_ = 0;
};

class ViewerDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
    ASSERT_TRUE(fw::RegisterAxHost());
    GetCurrentDirectoryA(MAX_PATH, previousDir_);
    // autorun.inf and a relative icon path are read from the working folder.
    SetCurrentDirectoryA(box_.Dir().c_str());
    box_.Write("index.htm", "<html><head><title>Menu</title></head><body>Menu</body></html>");
    viewer_.m_strPath = box_.Path("index.htm");
  }
  void TearDown() override {
    SetCurrentDirectoryA(previousDir_);
    OleUninitialize();
  }

  void Run(std::function<void(ScriptedViewer&)> script) {
    viewer_.script = std::move(script);
    EXPECT_EQ(IDCANCEL, viewer_.DoModal());
    EXPECT_TRUE(viewer_.shown);
  }

  Sandbox box_;
  ScriptedViewer viewer_;
  char previousDir_[MAX_PATH] = "";
};

// Handles this thread's messages until cond holds or timeoutMs has passed.
bool PumpUntil(const std::function<bool()>& cond, DWORD timeoutMs) {
  return WaitUntil(
      [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
          TranslateMessage(&msg);
          DispatchMessageA(&msg);
        }
        return cond();
      },
      timeoutMs);
}

std::string LocationUrl(CWebBrowser2& browser) {
  VARIANT result;
  VariantInit(&result);
  DISPPARAMS none = {};
  const DISPID kLocationUrl = 211;
  browser.Dispatch()->Invoke(kLocationUrl, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &result,
                             nullptr, nullptr);
  std::string url;
  fw::ArgText(&result, url);
  VariantClear(&result);
  return url;
}

// An event of a hosted control as the host hands it to the dialog, with its arguments in
// calling order.
void FireEvent(HWND viewer, int control, DISPID dispid, std::vector<VARIANTARG> args) {
  std::vector<VARIANTARG> reversed(args.rbegin(), args.rend());
  DISPPARAMS params = {reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  HWND host = GetDlgItem(viewer, control);
  fw::AxEvent event = {{host, static_cast<UINT_PTR>(control), fw::kAxEventNotify}, dispid, &params};
  SendMessageA(viewer, WM_NOTIFY, control, reinterpret_cast<LPARAM>(&event));
}

VARIANTARG Bstr(BSTR text) {
  VARIANTARG v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = text;
  return v;
}

VARIANTARG Ref(VARIANT* target) {
  VARIANTARG v;
  VariantInit(&v);
  v.vt = VT_BYREF | VT_VARIANT;
  v.pvarVal = target;
  return v;
}

// A 32 x 32 icon file of one colour.
std::string MakeIcon(COLORREF colour) {
  const int size = 32;
  auto put = [](std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  const uint32_t imageBytes = 40 + size * size * 4 + size * 4;
  std::string ico;
  put(ico, 0, 2);
  put(ico, 1, 2);  // icon
  put(ico, 1, 2);  // one image
  ico += static_cast<char>(size);
  ico += static_cast<char>(size);
  put(ico, 0, 2);
  put(ico, 1, 2);   // planes
  put(ico, 32, 2);  // bits per pixel
  put(ico, imageBytes, 4);
  put(ico, 22, 4);
  put(ico, 40, 4);
  put(ico, size, 4);
  put(ico, size * 2, 4);  // colour and mask
  put(ico, 1, 2);
  put(ico, 32, 2);
  put(ico, BI_RGB, 4);
  put(ico, 0, 4);
  for (int i = 0; i < 4; ++i) put(ico, 0, 4);
  const uint32_t pixel = 0xFF000000u | GetRValue(colour) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
  for (int i = 0; i < size * size; ++i) put(ico, pixel, 4);
  ico.append(size * 4, '\0');  // mask: all opaque
  return ico;
}

COLORREF CentreColour(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return CLR_INVALID;
  BITMAP bm{};
  GetObjectA(info.hbmColor, sizeof bm, &bm);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = -bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  std::vector<DWORD> pixels(bm.bmWidth * bm.bmHeight);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, info.hbmColor, 0, bm.bmHeight, pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  const DWORD p = pixels[(bm.bmHeight / 2) * bm.bmWidth + bm.bmWidth / 2];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace

TEST_F(ViewerDialog, DefaultSizeIsTheTemplates) {
  Run([](ScriptedViewer& v) {
    RECT expected = {0, 0, 502, 329};
    MapDialogRect(v, &expected);
    RECT client{};
    GetClientRect(v, &client);
    EXPECT_TRUE(EqualRect(&expected, &client)) << Text(expected) << " " << Text(client);
    RECT player = {0, 0, 501, 329};
    MapDialogRect(v, &player);
    EXPECT_EQ(player.right, RectIn(v, v.GetDlgItem(kPlayerId)).right);
    EXPECT_EQ("", CoverFault(v, expected.right - player.right));
  });
}

TEST_F(ViewerDialog, EveryNavigationPassesTheHandlerWithItsUrlAsGiven) {
  viewer_.m_strPath = box_.Path("ACTION_MESSAGEBOX=Hello there.htm");
  viewer_.cancelIfHas = "blocked";
  Run([&](ScriptedViewer& v) {
    ASSERT_TRUE(v.m_browser.IsCreated());
    EXPECT_FALSE(v.m_player.IsCreated());  // not installed here
    ASSERT_EQ(std::vector<std::string>{viewer_.m_strPath}, v.navigations) << "the first navigation";
    const std::string first = LocationUrl(v.m_browser);
    EXPECT_NE(std::string::npos, first.find("Hello there.htm")) << first;

    // Later navigations report themselves from the message loop.
    EXPECT_EQ(S_OK, v.m_browser.Navigate(box_.Path("blocked.htm"), nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(PumpUntil([&] { return v.navigations.size() == 2; }, 5000));
    EXPECT_EQ(first, LocationUrl(v.m_browser)) << "a cancelled navigation goes nowhere";
    EXPECT_EQ(S_OK, v.m_browser.Navigate(box_.Path("second.htm"), nullptr, nullptr, nullptr, nullptr));
    EXPECT_TRUE(PumpUntil([&] { return LocationUrl(v.m_browser).find("second.htm") != std::string::npos; }, 5000))
        << LocationUrl(v.m_browser);
  });
  EXPECT_EQ((std::vector<std::string>{viewer_.m_strPath, box_.Path("blocked.htm"), box_.Path("second.htm")}),
            viewer_.navigations);
}

// This Wine sends no TitleChange (it renders no page), so those events are made here, as the
// host hands them on.
TEST_F(ViewerDialog, PageTitleReplacesTheLabelAndBecomesTheCaption) {
  box_.Write("autorun.inf", "[autorun]\r\nOPEN=autorun.exe index.htm 1 0\r\nLABEL=Product Disc\r\n");
  Run([](ScriptedViewer& v) {
    EXPECT_EQ("Product Disc", v.GetWindowText());
    EXPECT_EQ("", v.m_strCaption);

    BSTR page = SysAllocString(L"Welcome \x00e9t\x00e9");
    FireEvent(v, kBrowserId, 113, {Bstr(page)});
    EXPECT_EQ("Welcome \xe9t\xe9", v.GetWindowText());
    EXPECT_EQ("Welcome \xe9t\xe9", v.m_strCaption);

    // Malformed reports change nothing.
    VARIANTARG number;
    VariantInit(&number);
    number.vt = VT_I4;
    number.lVal = 7;
    FireEvent(v, kBrowserId, 113, {number});
    FireEvent(v, kBrowserId, 113, {});
    FireEvent(v, kBrowserId, 113, {Bstr(page), Bstr(page)});
    EXPECT_EQ("Welcome \xe9t\xe9", v.GetWindowText());
    SysFreeString(page);
  });
}

TEST_F(ViewerDialog, CancelFlagIsWrittenBackAndMalformedNavigationsAreIgnored) {
  viewer_.cancelIfHas = "blocked";
  Run([](ScriptedViewer& v) {
    const size_t before = v.navigations.size();
    VARIANT empty;
    VariantInit(&empty);
    VARIANTARG browser;
    VariantInit(&browser);
    browser.vt = VT_DISPATCH;
    browser.pdispVal = nullptr;
    for (const wchar_t* url : {L"C:\\disc\\blocked.htm", L"C:\\disc\\open.htm"}) {
      VARIANT urlValue = Bstr(SysAllocString(url));
      VARIANT_BOOL cancel = VARIANT_FALSE;
      VARIANTARG cancelArg;
      VariantInit(&cancelArg);
      cancelArg.vt = VT_BYREF | VT_BOOL;
      cancelArg.pboolVal = &cancel;
      FireEvent(v, kBrowserId, 250,
                {browser, Ref(&urlValue), Ref(&empty), Ref(&empty), Ref(&empty), Ref(&empty), cancelArg});
      EXPECT_EQ(wcsstr(url, L"blocked") ? VARIANT_TRUE : VARIANT_FALSE, cancel);

      FireEvent(v, kBrowserId, 250, {browser, Ref(&urlValue), cancelArg});           // too few
      FireEvent(v, kBrowserId, 250, {browser, Ref(&empty), Ref(&empty), Ref(&empty),  // URL not text
                                     Ref(&empty), Ref(&empty), cancelArg});
      VariantClear(&urlValue);
    }
    EXPECT_EQ((std::vector<std::string>{"C:\\disc\\blocked.htm", "C:\\disc\\open.htm"}),
              std::vector<std::string>(v.navigations.begin() + before, v.navigations.end()));
  });
}

TEST_F(ViewerDialog, IconFromTheIconEntryElseTheProgramsOwn) {
  const COLORREF kColour = RGB(0x20, 0xC0, 0x40);
  box_.Write("disc.ico", MakeIcon(kColour));
  box_.Write("notanicon.ico", "plain text");
  HICON programs = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
  ASSERT_TRUE(programs);
  const struct {
    std::string iconPath;
    bool fromFile;
  } cases[] = {
      {"disc.ico", true}, {box_.Path("disc.ico"), true}, {"", false}, {"missing.ico", false},
      {"notanicon.ico", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.iconPath);
    ScriptedViewer viewer;
    viewer.m_strPath = box_.Path("index.htm");
    viewer.m_strIconPath = c.iconPath;
    viewer.script = [&](ScriptedViewer& v) {
      HICON big = reinterpret_cast<HICON>(v.SendMessage(WM_GETICON, ICON_BIG));
      HICON small = reinterpret_cast<HICON>(v.SendMessage(WM_GETICON, ICON_SMALL));
      EXPECT_EQ(big, small);
      if (c.fromFile) {
        EXPECT_NE(programs, big);
        EXPECT_EQ(kColour, CentreColour(big));
      } else {
        EXPECT_EQ(programs, big);
      }
    };
    EXPECT_EQ(IDCANCEL, viewer.DoModal());
    EXPECT_TRUE(viewer.shown);
  }
}
