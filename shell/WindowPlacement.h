// WindowPlacement: where the main window was when it last closed (its normal size and place,
// whether it was maximised, the tab shown), kept in the profile's "Window" section and brought
// back at the next start; and the rules that keep a window on the screens there are now.
#pragma once

#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

class WindowPlacement {
public:
    QRect normal;           // the window's place and size when not maximised (frame excluded)
    bool maximized = false; // it was maximised
    int tab = 0;            // the main form's tab

    // The placement last saved, or none when there is none or it cannot be read.
    static std::optional<WindowPlacement> Load();
    // False when the profile cannot be written.
    [[nodiscard]] bool Save() const;

    // The smallest size of a window that wants designed but must fit into available.
    static QSize MinimumSize(QSize designed, QSize available);
    // saved, moved and if need be shrunk (not below minimum where the screen has room) so that it
    // lies wholly on the screen it overlaps most, or on the first screen when it overlaps none.
    static QRect FitOnScreens(const QRect& saved, const std::vector<QRect>& screens, QSize minimum);
};
