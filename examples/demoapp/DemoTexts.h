#pragma once
// The texts the demo builds in code: status messages, the About box, the
// open-file dialog and the main window's title. Each one is a resource string:
// the build gives it its string-table identifier (kept in lxdemo.lxids), the
// packs translate it as resourcestring.<identifier>, and the resource-string
// component on the main window makes the current pack's translation active.
// Call a constant for its text in the current language.

#include "runtime/uResourceString.h"

namespace demo {

LX_RESOURCESTRING(sReady, "Ready");
LX_RESOURCESTRING(sLanguageChanged, "Texts are now in English");
LX_RESOURCESTRING(sOpenTitle, "Open a customer file");
LX_RESOURCESTRING(sFileFilter, "Customer files (*.cst);;All files (*)");
/// %1: the file name.
LX_RESOURCESTRING(sOpened, "Opened %1");
LX_RESOURCESTRING(sSaved, "Changes saved");
/// %1: the customer's name.
LX_RESOURCESTRING(sApplied, "Customer \"%1\" stored");
LX_RESOURCESTRING(sNoName, "Enter the customer's name first");
LX_RESOURCESTRING(sAboutTitle, "About Glotrix demo");
LX_RESOURCESTRING(sAboutText,
                  "Glotrix demo: a Qt Widgets program that changes its language while it runs.");
/// The main window's title while no customer file is open.
LX_RESOURCESTRING(sMainTitle, "Glotrix demo - customer records");
/// The main window's title with the customer file opened last; %1: its name.
LX_RESOURCESTRING(sMainTitleFile, "%1 - Glotrix demo");

} // namespace demo
