#include "timeline/theme.h"

#include <cstring>

namespace nivra {

namespace {

struct Tone
{
    const char *token;
    QRgb dark;
    QRgb light;
};

// Fixed colours have the same value in both themes.
constexpr Tone kTones[] = {
    {"yellow", 0xffb703, 0xffb703},
    {"purple", 0x453875, 0x453875},
    {"plum", 0x352941, 0x352941},
    {"canvas", 0x17171f, 0xf6f6f5},
    {"surface", 0x22222f, 0xffffff},
    {"surface2", 0x2b2a39, 0xf2f1f5},
    {"surface3", 0x343343, 0xedeef2},
    {"foreground", 0xf0eef5, 0x352941},
    {"secondary", 0xb6b0c4, 0x716977},
    {"line", 0x383645, 0xe5e2e9},
    {"strongLine", 0x565166, 0xcbc5d4},
    {"accent", 0xffb703, 0x453875},
    {"inkOnAccent", 0x352941, 0xffffff},
    {"selected", 0x39334e, 0xeeebf5},
    {"selectedText", 0xf2e8ff, 0x453875},
    {"record", 0x8778b4, 0x9386b6},
    // The recorded lane's finer blocks, a shade lighter than record.
    {"recordFine", 0x9b8bc8, 0xa99dc7},
    {"track", 0x353341, 0xe9e7ed},
    {"videoSurface", 0x111118, 0x1e1e2f},
    {"error", 0xff6b6b, 0xff6b6b},
    {"faint", 0x837d91, 0x9a929f},
    {"primaryHover", 0xffc42d, 0x58498d},
    {"primaryDeep", 0xd99b00, 0x352a5c},
    {"eventText", 0xffb703, 0x956900},
    {"focusRing", 0xffb703, 0x5b4bb0},
    // The timeline's activity strips: what changed in the picture, how loud.
    {"activity", 0x4fc3dc, 0x137a94},
    {"loudness", 0x7ccf8e, 0x2f8a4a},
    // The user's bookmarks: flags on the timeline, the dot of their rows.
    {"bookmark", 0xff7eb6, 0xc2185b},
};

} // namespace

QColor themeColour(const char *token, bool dark)
{
    for (const Tone &tone : kTones) {
        if (std::strcmp(tone.token, token) == 0)
            return QColor::fromRgb(dark ? tone.dark : tone.light);
    }
    return QColor();
}

} // namespace nivra
