// The main window's placement in the profile, and fitting it onto today's screens.
#include "shell/WindowPlacement.h"

#include <string>

#include "platform/settings/ProfileSettings.h"

namespace {

using settings::ProfileSettings;

constexpr const char* kSection = "Window";
constexpr const char* kEntries[] = {"Left", "Top", "Width", "Height", "Maximized", "Tab"};

std::optional<int> ReadNumber(const char* entry)
{
    const std::string text = ProfileSettings::GetProfileString(kSection, entry);
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        return used == text.size() ? std::optional(value) : std::nullopt;
    } catch (const std::exception&) {  // empty or not a number: as if never saved
        return std::nullopt;
    }
}

}  // namespace

std::optional<WindowPlacement> WindowPlacement::Load()
{
    int values[std::size(kEntries)] = {};
    for (std::size_t i = 0; i < std::size(kEntries); ++i) {
        const std::optional<int> value = ReadNumber(kEntries[i]);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    if (values[2] <= 0 || values[3] <= 0)
        return std::nullopt;
    WindowPlacement placement;
    placement.normal = QRect(values[0], values[1], values[2], values[3]);
    placement.maximized = values[4] != 0;
    placement.tab = values[5];
    return placement;
}

bool WindowPlacement::Save() const
{
    const int values[] = {normal.x(), normal.y(), normal.width(), normal.height(), maximized ? 1 : 0, tab};
    for (std::size_t i = 0; i < std::size(kEntries); ++i)
        if (!ProfileSettings::WriteProfileString(kSection, kEntries[i], std::to_string(values[i])))
            return false;
    return true;
}

QSize WindowPlacement::MinimumSize(QSize designed, QSize available)
{
    return available.isValid() ? designed.boundedTo(available) : designed;
}

QRect WindowPlacement::FitOnScreens(const QRect& saved, const std::vector<QRect>& screens, QSize minimum)
{
    if (screens.empty())
        return saved;
    QRect screen = screens.front();
    long long best = 0;
    for (const QRect& candidate : screens) {
        const QRect common = candidate.intersected(saved);
        const long long area = common.isEmpty() ? 0 : 1LL * common.width() * common.height();
        if (area > best) {
            best = area;
            screen = candidate;
        }
    }
    const QSize size = saved.size().expandedTo(minimum).boundedTo(screen.size());
    QRect fitted(saved.topLeft(), size);
    if (fitted.right() > screen.right())
        fitted.moveRight(screen.right());
    if (fitted.bottom() > screen.bottom())
        fitted.moveBottom(screen.bottom());
    if (fitted.left() < screen.left())
        fitted.moveLeft(screen.left());
    if (fitted.top() < screen.top())
        fitted.moveTop(screen.top());
    return fitted;
}
