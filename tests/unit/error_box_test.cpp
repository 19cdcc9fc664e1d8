// The error box and its hook, in-process: what a box shows once the hook has
// run, what the hook passes on to the next one, and that the hook never
// outlives its box. A thread timer reads and closes each box: it fires inside
// the box's modal loop, on this thread, so WM_GETICON answers here as it does
// not to another process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "harness/launch_run.h"
#include "harness/test_env.h"
#include "localization/error_box.h"
#include "localization/labelled_box.h"
#include "resources/resource_ids.h"

namespace {

const wchar_t kNotFoundText[] = L"There might be an installation error.  Unable to locate Tandrel.exe!";

// What the timer saw of the thread's box.
struct BoxVisit {
    int boxesSeen = 0;
    HWND window = nullptr;
    SeenBox box;
    HICON smallIcon = nullptr;
};

// Runs on the box before it is read, from inside its modal loop.
using BoxAction = void (*)(HWND box);

struct Watch {
    BoxVisit visit;
    BoxAction action = nullptr;
};

Watch* gWatch = nullptr;  // a thread timer's callback gets no context of its own

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && lstrcmpW(name, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK ReadAndCloseBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialogOfThread, reinterpret_cast<LPARAM>(&box));
    // A closed box stays visible for a while under a bare X server.
    if (box == nullptr || gWatch == nullptr || box == gWatch->visit.window) return;
    if (gWatch->action != nullptr) gWatch->action(box);
    BoxVisit& visit = gWatch->visit;
    ++visit.boxesSeen;
    visit.window = box;
    visit.box = ReadBox(box);
    visit.smallIcon = reinterpret_cast<HICON>(SendMessageW(box, WM_GETICON, ICON_SMALL, 0));
    // What a click on the first button sends; every message box ends on it.
    const int button = visit.box.buttons.empty() ? IDCANCEL : visit.box.buttons.front().id;
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

// Calls show() with the timer running and returns what it saw of the box.
template <typename Show>
BoxVisit Watched(Show show, BoxAction action = nullptr) {
    Watch watch;
    watch.action = action;
    gWatch = &watch;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ReadAndCloseBox);
    show();
    KillTimer(nullptr, timer);
    gWatch = nullptr;
    return watch.visit;
}

std::string Show(const std::wstring& text) { return testing::PrintToString(text); }

std::string Show(const std::vector<BoxButton>& buttons) {
    std::string out = "{";
    for (const BoxButton& button : buttons) {
        out += (out.size() > 1 ? ", " : "") + std::to_string(button.id) + " " + Show(button.text);
    }
    return out + "}";
}

std::vector<BoxButton> ById(std::vector<BoxButton> buttons) {
    std::sort(buttons.begin(), buttons.end(), [](const BoxButton& a, const BoxButton& b) { return a.id < b.id; });
    return buttons;
}

bool SameButtons(const std::vector<BoxButton>& a, const std::vector<BoxButton>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].text != b[i].text) return false;
    }
    return true;
}

HICON SharedAppIcon() { return LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP)); }

// Whether a CbtHookProc is still installed on this thread: with labels
// published, it would caption a plain box's OK button with them.
bool CbtHookStillInstalled() {
    ButtonLabels probe(0x0409);
    probe.okLabel = L"left-over hook";
    gActiveLabels = &probe;
    const BoxVisit visit = Watched([] { MessageBoxW(nullptr, L"probe", L"probe", MB_OK); });
    gActiveLabels = nullptr;
    for (const BoxButton& button : visit.box.buttons) {
        if (button.text == probe.okLabel) return true;
    }
    return false;
}

TEST(ErrorBox, ShowsTheEditionsTextCaptionButtonAndIcon) {
    const struct {
        LANGID language;
        const wchar_t* okCaption;
    } cases[] = {
        {0x0409, L"OK"}, {0x0407, L"OK"}, {0x0C0A, L"Aceptar"}, {0x040C, L"OK"}, {0x0410, L"OK"},
    };
    const HICON appIcon = SharedAppIcon();
    ASSERT_NE(appIcon, nullptr) << "icon group " << IDI_APP << " is not in the test program";
    for (const auto& c : cases) {
        const std::string what = "language " + testing::PrintToString(HexLangId(c.language));
        const BoxVisit visit = Watched([&] { ShowLocalizedError(c.language); });
        ASSERT_EQ(visit.boxesSeen, 1) << what << ": got " << visit.boxesSeen << " boxes, expected 1";
        EXPECT_EQ(visit.box.windowClass, L"#32770") << what << ": class " << Show(visit.box.windowClass);
        EXPECT_EQ(visit.box.caption, L"Tandrel") << what << ": caption " << Show(visit.box.caption);
        EXPECT_EQ(visit.box.text, kNotFoundText) << what << ": text " << Show(visit.box.text);
        const std::vector<BoxButton> expected = {{IDOK, c.okCaption}};
        EXPECT_TRUE(SameButtons(visit.box.buttons, expected))
            << what << ": buttons " << Show(visit.box.buttons) << ", expected " << Show(expected);
        EXPECT_EQ(visit.smallIcon, appIcon) << what << ": small icon " << visit.smallIcon
                                            << ", expected the shared icon " << IDI_APP << " " << appIcon;
        EXPECT_EQ(gActiveLabels, nullptr) << what << ": gActiveLabels still set after the box closed";
    }
}

TEST(ErrorBox, ShowsNothingForALanguageWithoutItsStrings) {
    // Romanian has no block; Austrian German shares the German edition's
    // primary language, but the lookup takes no fallback.
    const LANGID languages[] = {0x0418, 0x0C07};
    for (LANGID language : languages) {
        const BoxVisit visit = Watched([&] { ShowLocalizedError(language); });
        EXPECT_EQ(visit.boxesSeen, 0) << "language " << testing::PrintToString(HexLangId(language)) << ": got box "
                                      << Show(visit.box.caption) << ", expected none";
        EXPECT_EQ(gActiveLabels, nullptr) << "language " << testing::PrintToString(HexLangId(language))
                                          << ": gActiveLabels set without a box";
    }
    EXPECT_FALSE(CbtHookStillInstalled()) << "a hook was installed without a box and left behind";
}

// Buttons whose captions the hook sets; every other button keeps Wine's.
struct StyleCase {
    const char* styleName;
    UINT style;
    LANGID language;
    std::vector<BoxButton> relabelled;
    std::vector<int> kept;  // buttons the box has and the hook has no label for
};

TEST(LabelHook, CaptionsEveryButtonItHasALabelFor) {
    const StyleCase cases[] = {
        {"MB_OK", MB_OK, 0x0C0A, {{IDOK, L"Aceptar"}}, {}},
        {"MB_OKCANCEL", MB_OKCANCEL, 0x0407, {{IDOK, L"OK"}, {IDCANCEL, L"Abbrechen"}}, {}},
        {"MB_ABORTRETRYIGNORE", MB_ABORTRETRYIGNORE, 0x0410, {{IDRETRY, L"Riprova"}, {IDIGNORE, L"Ignora"}},
         {IDABORT}},
        {"MB_YESNOCANCEL", MB_YESNOCANCEL, 0x0410, {{IDCANCEL, L"Annulla"}, {IDYES, L"S\u00EC"}, {IDNO, L"No"}}, {}},
        {"MB_YESNO", MB_YESNO, 0x040C, {{IDYES, L"Oui"}, {IDNO, L"Non"}}, {}},
        {"MB_RETRYCANCEL", MB_RETRYCANCEL, 0x0407, {{IDCANCEL, L"Abbrechen"}, {IDRETRY, L"Wiederholen"}}, {}},
        {"MB_CANCELTRYCONTINUE", MB_CANCELTRYCONTINUE, 0x0410, {{IDCANCEL, L"Annulla"}, {IDCONTINUE, L"Continua"}},
         {IDTRYAGAIN}},
        {"MB_OK | MB_HELP", MB_OK | MB_HELP, 0x0407, {{IDOK, L"OK"}}, {IDHELP}},
    };
    for (const StyleCase& c : cases) {
        // Wine's own captions, from the same box without the hook.
        const BoxVisit plain = Watched([&] { MessageBoxW(nullptr, L"text", L"caption", c.style); });
        const BoxVisit hooked =
            Watched([&] { ShowBoxWithLabels(nullptr, L"text", L"caption", c.language, c.style); });
        ASSERT_EQ(plain.boxesSeen, 1) << c.styleName << ": Wine showed no plain box";
        ASSERT_EQ(hooked.boxesSeen, 1) << c.styleName << ": no box with labels";
        std::vector<BoxButton> expected = ById(plain.box.buttons);
        for (const BoxButton& label : c.relabelled) {
            auto button = std::find_if(expected.begin(), expected.end(),
                                       [&](const BoxButton& b) { return b.id == label.id; });
            ASSERT_NE(button, expected.end()) << c.styleName << ": Wine's box has no button " << label.id;
            button->text = label.text;
        }
        for (int id : c.kept) {
            const bool present = std::any_of(expected.begin(), expected.end(),
                                             [&](const BoxButton& b) { return b.id == id; });
            ASSERT_TRUE(present) << c.styleName << ": Wine's box has no button " << id;
        }
        const std::vector<BoxButton> got = ById(hooked.box.buttons);
        EXPECT_TRUE(SameButtons(got, expected))
            << c.styleName << " in " << testing::PrintToString(HexLangId(c.language)) << ": buttons " << Show(got)
            << ", expected " << Show(expected);
        EXPECT_EQ(hooked.box.caption, L"caption") << c.styleName << ": caption " << Show(hooked.box.caption);
        EXPECT_EQ(hooked.box.text, L"text") << c.styleName << ": text " << Show(hooked.box.text);
        EXPECT_EQ(hooked.smallIcon, SharedAppIcon()) << c.styleName << ": small icon " << hooked.smallIcon;
    }
}

// A CBT hook installed before the box, so it comes after CbtHookProc in the chain.
struct NextHook {
    HHOOK handle = nullptr;
    std::vector<std::pair<int, WPARAM>> calls;
    size_t callsBeforeTimer = 0;
};

NextHook* gNextHook = nullptr;

LRESULT CALLBACK RecordAndForbid(int code, WPARAM wParam, LPARAM lParam) {
    if (code < 0) return CallNextHookEx(gNextHook->handle, code, wParam, lParam);
    gNextHook->calls.emplace_back(code, wParam);
    wchar_t name[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(wParam), name, 16);
    // Nonzero forbids the box's creation: only a hook that passed this answer
    // back would stop the box.
    if (code == HCBT_CREATEWND && lstrcmpW(name, L"#32770") == 0) return 1;
    return CallNextHookEx(gNextHook->handle, code, wParam, lParam);
}

void NoteCallsSoFar(HWND) { gNextHook->callsBeforeTimer = gNextHook->calls.size(); }

TEST(LabelHook, PassesTheNotificationsBeforeActivationOnAndReturnsZero) {
    NextHook next;
    gNextHook = &next;
    next.handle = SetWindowsHookExW(WH_CBT, RecordAndForbid, nullptr, GetCurrentThreadId());
    ASSERT_NE(next.handle, nullptr);
    const BoxVisit visit =
        Watched([] { ShowBoxWithLabels(nullptr, L"text", L"caption", 0x0410, MB_YESNO); }, NoteCallsSoFar);
    UnhookWindowsHookEx(next.handle);
    gNextHook = nullptr;

    ASSERT_EQ(visit.boxesSeen, 1) << "no box: the hook passed back the next hook's answer to its creation";
    const std::vector<std::pair<int, WPARAM>> before(next.calls.begin(),
                                                     next.calls.begin() + next.callsBeforeTimer);
    const std::pair<int, WPARAM> boxCreation(HCBT_CREATEWND, reinterpret_cast<WPARAM>(visit.window));
    const bool creationPassedOn = std::find(before.begin(), before.end(), boxCreation) != before.end();
    EXPECT_TRUE(creationPassedOn) << "the next hook never got HCBT_CREATEWND for the box " << visit.window;
    for (const auto& call : before) {
        EXPECT_NE(call.first, HCBT_ACTIVATE)
            << "the next hook got HCBT_ACTIVATE for " << reinterpret_cast<HWND>(call.second)
            << " before the box was read; expected the hook to keep the first activation to itself";
    }
    const std::vector<BoxButton> expected = {{IDYES, L"S\u00EC"}, {IDNO, L"No"}};
    EXPECT_TRUE(SameButtons(ById(visit.box.buttons), expected))
        << "buttons " << Show(ById(visit.box.buttons)) << ", expected " << Show(expected);
}

// Captions the box by hand, then activates another window and the box again.
struct Reactivation {
    bool boxActiveAgain = false;
};

Reactivation* gReactivation = nullptr;

void ChangeThenReactivate(HWND box) {
    SetDlgItemTextW(box, IDYES, L"changed");
    SendMessageW(box, WM_SETICON, ICON_SMALL, 0);
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                       nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    SetActiveWindow(box);
    gReactivation->boxActiveAgain = other != nullptr && GetActiveWindow() == box;
    DestroyWindow(other);
}

TEST(LabelHook, LeavesALaterActivationAlone) {
    Reactivation reactivation;
    gReactivation = &reactivation;
    const BoxVisit visit =
        Watched([] { ShowBoxWithLabels(nullptr, L"text", L"caption", 0x0410, MB_YESNO); }, ChangeThenReactivate);
    gReactivation = nullptr;
    ASSERT_EQ(visit.boxesSeen, 1);
    ASSERT_TRUE(reactivation.boxActiveAgain) << "the box could not be activated a second time";
    const std::vector<BoxButton> expected = {{IDYES, L"changed"}, {IDNO, L"No"}};
    EXPECT_TRUE(SameButtons(ById(visit.box.buttons), expected))
        << "after a second activation: buttons " << Show(ById(visit.box.buttons)) << ", expected "
        << Show(expected);
    EXPECT_EQ(visit.smallIcon, nullptr) << "after a second activation: small icon " << visit.smallIcon
                                        << ", expected none (it was removed by hand)";
}

TEST(LabelHook, IsGoneWhenTheBoxNeverShows) {
    // A destroyed owner: MessageBoxW fails before it creates a window, so the
    // box is never activated and the hook never removes itself.
    const HWND owner =
        CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    DestroyWindow(owner);
    int result = 0;
    const BoxVisit visit = Watched([&] { result = ShowBoxWithLabels(owner, L"text", L"caption", 0x0410, MB_OK); });
    ASSERT_EQ(visit.boxesSeen, 0) << "Wine showed a box with a destroyed owner; this test needs one that fails";
    EXPECT_NE(result, IDOK) << "MessageBoxW with a destroyed owner returned IDOK";
    EXPECT_EQ(gActiveLabels, nullptr) << "gActiveLabels still points at the labels of a box that has returned";
    EXPECT_FALSE(CbtHookStillInstalled()) << "the hook outlived the box that was never shown";
}

}  // namespace
