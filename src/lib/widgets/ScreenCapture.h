#pragma once
// Pictures of every registered screen: each one is opened (shown without its
// modal loop), grabbed to "<dir>/<ScreenName>.png" and closed again. Screens
// already open are grabbed as they are and left open.
#include <QString>
#include <QStringList>

namespace pcp {

class ScreenRegistry;

struct CaptureReport {
    QStringList files;     // the pictures written
    QStringList problems;  // "TfoX: why", one per screen that could not be captured
    QStringList messages;  // messages the screens showed while opening ("TfoX: caption: text")
    bool ok() const { return problems.isEmpty(); }
};

// nullptr: the program's registry. Messages shown meanwhile are answered
// "no"/cancel and listed in the report. Returns true when every screen was saved.
bool captureScreens(const QString& dir, CaptureReport* report = nullptr, ScreenRegistry* registry = nullptr);

}  // namespace pcp
