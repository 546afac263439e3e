#pragma once
// The headless run of the console: a scripted pass through what a person does with it,
// played as mouse and keyboard input on the virtual clock (tour_input.h), each step
// checked through the library's interfaces and pictured as a PNG of the desktop.
//
// The full tour: the log-in typed into the dialog (a wrong password first, refused with
// a message, then the right one); the bars put back with View > Toolbars > Default Places
// (whatever layout the last run left), the window maximised when it leaves the screens no
// room; the Console menu pictured with the commands' icons; every skin chosen from the
// Skins menu by mouse (the one the run began with last, so the later steps show it; the
// run ends on the next skin, so runs on one data folder picture every step in every skin);
// the doors opened by clicking the shortcut bar's item by its name, a door added (the focus
// in the name field after Add) and renamed by typing into the form and clicking its
// buttons, names the form refuses, Escape back to the list; the operators' screen opened
// from the menu, the logged-in operator's row found by its name and refused deletion, an
// operator added with a password, the screen maximised by its caption button and
// minimised, restored and closed by the menu bar's buttons; the events bar dragged by its
// gripper to each side, floated, docked back by its caption, dropped on the left side's
// tab band to share it with the shortcut bar as a tab and dragged out again; the toolbars'
// labels on and off; the archive pass and its restore, the recording server, the session
// log viewer closed each way and opened again, and the log printed on the recording
// printer. Every screen and window is looked up afresh at each step: none is kept across
// steps, as a step may close it.
//
// Shorter runs serve the tests: `persist-save` logs in, chooses the Classic skin and
// drags the events bar to the right; `persist-check` logs in and checks that both came
// back; `cancel` types a name and clicks Cancel in the log-in dialog; `layout-NAME` logs
// in and plays the full tour's bar steps up to the layout NAME (kLayouts), then ends, so
// that the next run opens on the layout as a person would leave it.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class CHostApp;

namespace tour {

enum class Kind { Full, PersistSave, PersistCheck, Cancel, Layout };
// The layouts the full tour's bar steps pass through, in order.
inline constexpr const char* kLayouts[] = {"right", "top", "left", "bottom", "floating", "floating-left", "tabbed",
    "labels"};
struct Plan {
    Kind kind = Kind::Full;
    std::string layout; // Kind::Layout: one of kLayouts
};
// full, persist-save, persist-check, cancel or layout-NAME; nothing for another name.
std::optional<Plan> PlanFromName(const std::string& name);

// What the scripted log-in saw while the dialog ran.
struct LoginSeen;
// Queues the log-in (or the cancel) as typed input for the dialog the console shows
// when it starts; call before CHostApp::InitInstance.
std::shared_ptr<LoginSeen> ScriptLogin(const Plan& plan, const std::filesystem::path& pictures);

// Runs the steps after the log-in; the number of steps that failed (each one said why).
// With Kind::Cancel, `app` is the console whose start ended at the log-in.
int Run(CHostApp& app, const Plan& plan, const LoginSeen& login, const std::filesystem::path& pictures);

} // namespace tour
