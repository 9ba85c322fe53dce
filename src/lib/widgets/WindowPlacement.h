#pragma once
// Where screens open: the position and size of a screen kept per screen name
// in "ini/<name>.ini" inside the program folder, shared by everyone who runs
// the program from that folder, and centring on the screen or on another window.
#include <QString>

class QWidget;

namespace pcp {

// "ini/<name>.ini" in the program folder (the folder is created when saving).
QString placementFile(const QString& screenName);

// Writes the window's position, size and maximised state. A maximised window
// keeps the position and size it returns to.
void savePlacement(const QWidget& window, const QString& screenName);
// Puts the window where it was saved. False, leaving the window alone, when
// nothing was saved or the saved place lies on no screen any more.
bool restorePlacement(QWidget& window, const QString& screenName);

// Centres the window on the screen it is on (or the primary screen).
void centreOnScreen(QWidget& window);
// Centres the window over another one; on the screen when there is none.
void centreOnWindow(QWidget& window, const QWidget* other);

}  // namespace pcp
