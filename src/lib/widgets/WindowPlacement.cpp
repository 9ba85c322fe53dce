#include "WindowPlacement.h"

#include "TableRoutines.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace pcp {

namespace {
// The file holds one section named after the screen:
//   [TfoCadEmbalagem]
//   Left=120  Top=80  Width=640  Height=480  Maximized=false
QRect availableArea(const QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}
}  // namespace

QString placementFile(const QString& screenName)
{
    return QDir(programFolder()).filePath(u"ini/"_s + screenName + u".ini"_s);
}

void savePlacement(const QWidget& window, const QString& screenName)
{
    QDir().mkpath(QDir(programFolder()).filePath(u"ini"_s));
    const bool maximized = window.isMaximized();
    // pos() is the frame's corner, size() the inside: move() and resize() take them back.
    const QRect normal = maximized ? window.normalGeometry() : QRect(window.pos(), window.size());
    QSettings ini(placementFile(screenName), QSettings::IniFormat);
    ini.beginGroup(screenName);
    ini.setValue(u"Left"_s, normal.left());
    ini.setValue(u"Top"_s, normal.top());
    ini.setValue(u"Width"_s, normal.width());
    ini.setValue(u"Height"_s, normal.height());
    ini.setValue(u"Maximized"_s, maximized);
    ini.endGroup();
    ini.sync();
}

bool restorePlacement(QWidget& window, const QString& screenName)
{
    QSettings ini(placementFile(screenName), QSettings::IniFormat);
    ini.beginGroup(screenName);
    bool okLeft = false, okTop = false, okWidth = false, okHeight = false;
    const QRect saved(ini.value(u"Left"_s).toInt(&okLeft), ini.value(u"Top"_s).toInt(&okTop),
                      ini.value(u"Width"_s).toInt(&okWidth), ini.value(u"Height"_s).toInt(&okHeight));
    const bool maximized = ini.value(u"Maximized"_s).toBool();
    if (!okLeft || !okTop || !okWidth || !okHeight || saved.width() <= 0 || saved.height() <= 0)
        return false;
    // A screen that was unplugged, or a smaller desktop: keep the window reachable.
    bool onSomeScreen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        onSomeScreen = onSomeScreen || screen->availableGeometry().intersects(saved);
    if (!onSomeScreen)
        return false;
    window.resize(saved.size());
    window.move(saved.topLeft());
    if (maximized)
        window.setWindowState(window.windowState() | Qt::WindowMaximized);
    return true;
}

void centreOnScreen(QWidget& window)
{
    const QRect area = availableArea(window);
    if (area.isEmpty())
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(area.center());
    window.move(frame.topLeft());
}

void centreOnWindow(QWidget& window, const QWidget* other)
{
    if (!other || !other->isVisible()) {
        centreOnScreen(window);
        return;
    }
    QRect frame = window.frameGeometry();
    frame.moveCenter(other->frameGeometry().center());
    window.move(frame.topLeft());
}

}  // namespace pcp
