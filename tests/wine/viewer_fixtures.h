// What the viewer's Wine tests share: registry stand-ins for what this Wine lacks, and the
// check that the two controls cover the viewer's client area.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <shlwapi.h>

#include <string>

namespace vt {

constexpr int kBrowserId = 1085;
constexpr int kPlayerId = 1032;
constexpr char kPlayerClsidKey[] = "CLSID\\{22D6F312-B0F6-11D0-94AB-0080C74C7E95}";
constexpr char kBrowserClsid[] = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

// A key of HKEY_CLASSES_ROOT with a default value, removed again (with all below it) when the
// object goes, if it was not there before.
class ClassesKey {
public:
    ClassesKey(const std::string& key, const std::string& value) : key_(key) {
        HKEY h;
        DWORD disposition = 0;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, &disposition) !=
            ERROR_SUCCESS) {
            ADD_FAILURE() << "cannot create HKCR\\" << key;
            return;
        }
        created_ = disposition == REG_CREATED_NEW_KEY;
        RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(h);
    }
    ~ClassesKey() {
        if (created_)
            SHDeleteKeyA(HKEY_CLASSES_ROOT, key_.c_str());
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

private:
    std::string key_;
    bool created_ = false;
};

// This Wine has no Windows Media Player control. While a stand-in lives, asking for the
// player makes a Web Browser control instead (TreatAs), so that the movie path runs with a
// real control in the player's place.
class PlayerStandIn {
public:
    PlayerStandIn()
        : clsid_(kPlayerClsidKey, "Windows Media Player stand-in"),
          treatAs_(std::string(kPlayerClsidKey) + "\\TreatAs", kBrowserClsid) {}

private:
    ClassesKey clsid_;
    ClassesKey treatAs_;
};

// Files with this extension open in `program` through the shell, with the file as argument.
class FileAssociation {
public:
    FileAssociation(const std::string& extension, const std::string& program)
        : progId_("VintroskTest" + extension.substr(1), "test association"),
          command_("VintroskTest" + extension.substr(1) + "\\shell\\open\\command", "\"" + program + "\" \"%1\""),
          extension_(extension, "VintroskTest" + extension.substr(1)) {}

private:
    ClassesKey progId_;
    ClassesKey command_;
    ClassesKey extension_;
};

// A window's rectangle in the client coordinates of `parent`.
inline RECT RectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

// Empty when both controls of the viewer cover its client area: the browser exactly, the
// player up to its right edge, which lies playerGap short of the client's (its template is
// one dialog unit narrower). A control that exists fills its host window.
inline std::string CoverFault(HWND viewer, int playerGap) {
    RECT client{};
    GetClientRect(viewer, &client);
    std::string fault;
    for (int id : {kBrowserId, kPlayerId}) {
        HWND host = GetDlgItem(viewer, id);
        if (!host)
            return "no control " + std::to_string(id);
        RECT expected = client;
        if (id == kPlayerId)
            expected.right -= playerGap;
        const RECT got = RectIn(viewer, host);
        if (!EqualRect(&got, &expected))
            fault += "control " + std::to_string(id) + " at " + Text(got) + ", client " + Text(client) + "; ";
        RECT hostClient{};
        GetClientRect(host, &hostClient);
        if (HWND inner = GetWindow(host, GW_CHILD)) {
            const RECT innerRect = RectIn(host, inner);
            if (!EqualRect(&innerRect, &hostClient))
                fault += "the control inside " + std::to_string(id) + " at " + Text(innerRect) + "; ";
        }
    }
    return fault;
}

} // namespace vt
