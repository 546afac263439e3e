#pragma once
// The headless run of the console: a scripted pass through what a person does with it,
// each step checked through the library's interfaces and pictured as a PNG of the
// desktop. The steps: every skin in turn (ending on the one after the skin the run began
// with, so the next run shows the choice was kept), a door opened from the shortcut bar,
// added and renamed through the form with its audit rows, the operators' screen from the
// menu, a maximised screen, the events bar docked on each side, floated, tabbed with the
// shortcut bar and docked back, the archive pass and its restore, the recording server,
// the session log viewer and the log printed on the recording printer.
#include <filesystem>

class CHostApp;

// Runs the steps; the number of steps that failed (each one said why).
int RunTour(CHostApp& app, const std::filesystem::path& pictures);
