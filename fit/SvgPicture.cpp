#include "fit/SvgPicture.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <string_view>

namespace tessen::fit {

namespace {

constexpr double kPixelsPerAngstrom = 60; // the scale of a small molecule
constexpr double kLargestPanel = 640;     // pixels; a larger molecule is drawn smaller
constexpr double kPadding = 0.6;          // A around the outermost atom or bar
constexpr double kAtomRadius = 11;        // pixels
constexpr double kCrossArm = 4;           // pixels, each arm of a cross's marker
constexpr double kBarCap = 3;             // pixels, each half of a bar's end cap
constexpr double kMargin = 20;            // pixels around and between the panels
constexpr double kTitleHeight = 24;
constexpr double kCaptionHeight = 18;
constexpr double kLegendHeight = 22;
constexpr double kLegendCharacterWidth = 6.5; // pixels, a generous average at 11 px

const char* const kAtomStyle = R"(fill="#dce6f2" stroke="#1f3b5c" stroke-width="1.5")";
const char* const kDummyStyle = R"(fill="none" stroke="#808080" stroke-dasharray="3,2")";
const char* const kBondStyle = R"(stroke="#1f3b5c" stroke-width="2")";
const char* const kAxisStyle = R"(stroke="#b0b0b0" stroke-width="1" stroke-dasharray="4,3")";
const char* const kCrossStyle = R"(stroke="#c0392b" stroke-width="1.5")";
const char* const kTextStyle = R"(font-family="sans-serif" fill="#000000")";

// The span of the drawing along one principal axis.
struct Range {
    double low = 0, high = 0; // the origin, the centre of mass, is always in the picture

    void include(double value) {
        low = std::min(low, value);
        high = std::max(high, value);
    }
    double size() const { return high - low; }
};

// One projection: a across and another axis up (1 for b, 2 for c), placed at left/top.
struct Panel {
    int up_axis;
    Range across, up;
    double left, top, scale;

    double x(double a) const { return left + (a - across.low) * scale; }
    double y(double value) const { return top + (up.high - value) * scale; }
    double width() const { return across.size() * scale; }
    double height() const { return up.size() * scale; }
};

double coordinate(const PictureAtom& atom, int axis) {
    return axis == 0 ? atom.a : axis == 1 ? atom.b : atom.c;
}

double coordinate(const PictureCross& cross, int axis) {
    return axis == 0 ? cross.a : axis == 1 ? cross.b : cross.c;
}

// An uncertainty as a bar's half length: nothing for one that is not finite or positive.
double half_bar(const PictureCross& cross, int axis) {
    const double e = axis == 0 ? cross.ea : axis == 1 ? cross.eb : cross.ec;
    return std::isfinite(e) && e > 0 ? e : 0.0;
}

bool drawable(const PictureAtom& atom) {
    return std::isfinite(atom.a) && std::isfinite(atom.b) && std::isfinite(atom.c);
}

bool drawable(const PictureCross& cross) {
    return std::isfinite(cross.a) && std::isfinite(cross.b) && std::isfinite(cross.c);
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// The length of the valid UTF-8 sequence of an XML character at text[i]; 0 for a byte
// that does not start one (a Latin-1 title, a surrogate, an overlong form).
std::size_t utf8_length(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80)
        return 1;
    const std::size_t length = (lead & 0xE0) == 0xC0   ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    unsigned code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = code << 6 | (next & 0x3F);
    }
    const unsigned smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF) ||
        code == 0xFFFE || code == 0xFFFF)
        return 0;
    return length;
}

// Text as XML character data or an attribute value: the markup characters escaped, a
// control character as a blank, a byte that is not UTF-8 as the replacement character.
std::string escaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8_length(text, i);
        const char c = text[i];
        if (length == 0)
            out += "\xEF\xBF\xBD";
        else if (length > 1)
            out.append(text.substr(i, length));
        else if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else if (c == '"')
            out += "&quot;";
        else if (c == '\'')
            out += "&apos;";
        else
            out += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        i += std::max<std::size_t>(length, 1);
    }
    return out;
}

std::string line(double x1, double y1, double x2, double y2, const char* style) {
    return "<line x1=\"" + number(x1) + "\" y1=\"" + number(y1) + "\" x2=\"" + number(x2) +
           "\" y2=\"" + number(y2) + "\" " + style + "/>\n";
}

std::string text(double x, double y, const std::string& content, const char* extra) {
    return "<text x=\"" + number(x) + "\" y=\"" + number(y) + "\" " + kTextStyle + " " + extra +
           ">" + escaped(content) + "</text>\n";
}

// Every drawn atom and cross widened by its bar and the padding, along each axis.
std::array<Range, 3> ranges_of(const Picture& picture) {
    std::array<Range, 3> ranges;
    for (int axis = 0; axis < 3; ++axis) {
        for (const PictureAtom& atom : picture.atoms)
            if (drawable(atom))
                ranges[axis].include(coordinate(atom, axis));
        for (const PictureCross& cross : picture.crosses)
            if (drawable(cross)) {
                ranges[axis].include(coordinate(cross, axis) - half_bar(cross, axis));
                ranges[axis].include(coordinate(cross, axis) + half_bar(cross, axis));
            }
        ranges[axis].low -= kPadding;
        ranges[axis].high += kPadding;
    }
    return ranges;
}

// The panels side by side on one scale: the a-b plane, then the a-c plane unless planar.
std::vector<Panel> panels_of(const Picture& picture) {
    const std::array<Range, 3> ranges = ranges_of(picture);
    const double largest =
        std::max({ranges[0].size(), ranges[1].size(), picture.planar ? 0.0 : ranges[2].size()});
    const double scale = std::min(kPixelsPerAngstrom, kLargestPanel / largest);
    const double top = kMargin + kTitleHeight + kCaptionHeight;
    std::vector<Panel> panels{{1, ranges[0], ranges[1], kMargin, top, scale}};
    if (!picture.planar)
        panels.push_back({2, ranges[0], ranges[2], kMargin * 3 + panels[0].width(), top, scale});
    return panels;
}

std::string axes(const Panel& panel) {
    const double right = panel.left + panel.width(), bottom = panel.top + panel.height();
    return "<rect x=\"" + number(panel.left) + "\" y=\"" + number(panel.top) + "\" width=\"" +
           number(panel.width()) + "\" height=\"" + number(panel.height()) +
           R"(" fill="none" stroke="#d0d0d0"/>)" + "\n" +
           line(panel.left, panel.y(0), right, panel.y(0), kAxisStyle) +
           line(panel.x(0), panel.top, panel.x(0), bottom, kAxisStyle) +
           text(right - 12, panel.y(0) - 5, "a", R"(font-size="13" font-style="italic")") +
           text(panel.x(0) + 5, panel.top + 14, panel.up_axis == 1 ? "b" : "c",
                R"(font-size="13" font-style="italic")") +
           text(panel.left, panel.top - 6, panel.up_axis == 1 ? "a-b plane" : "a-c plane",
                R"(font-size="12")");
}

const PictureAtom* atom_numbered(const Picture& picture, int number) {
    for (const PictureAtom& atom : picture.atoms)
        if (atom.number == number && drawable(atom))
            return &atom;
    return nullptr;
}

std::string bonds(const Picture& picture, const Panel& panel) {
    std::string svg;
    for (const auto& [first, second] : picture.bonds) {
        const PictureAtom* from = atom_numbered(picture, first);
        const PictureAtom* to = atom_numbered(picture, second);
        if (from && to)
            svg += line(panel.x(from->a), panel.y(coordinate(*from, panel.up_axis)), panel.x(to->a),
                        panel.y(coordinate(*to, panel.up_axis)), kBondStyle);
    }
    return svg;
}

// The atoms from the farthest to the nearest as seen from the viewer (+c for the a-b
// plane, -b for the a-c plane), so that a near atom covers a far one.
std::string atoms(const Picture& picture, const Panel& panel) {
    const auto depth = [&](const PictureAtom& atom) {
        return panel.up_axis == 1 ? atom.c : -atom.b;
    };
    std::vector<const PictureAtom*> order;
    for (const PictureAtom& atom : picture.atoms)
        if (drawable(atom))
            order.push_back(&atom);
    std::stable_sort(order.begin(), order.end(), [&](const PictureAtom* x, const PictureAtom* y) {
        return depth(*x) < depth(*y);
    });
    std::string svg;
    for (const PictureAtom* atom : order) {
        const double x = panel.x(atom->a), y = panel.y(coordinate(*atom, panel.up_axis));
        svg += "<circle cx=\"" + number(x) + "\" cy=\"" + number(y) + "\" r=\"" +
               number(kAtomRadius) + "\" " + (atom->dummy ? kDummyStyle : kAtomStyle) + "/>\n";
        svg += text(x, y, std::to_string(atom->number),
                    R"(font-size="11" text-anchor="middle" dy="0.35em")");
    }
    return svg;
}

// A cross: an x-shaped marker at the position, and a bar with end caps along each axis
// of the plane as long as the uncertainty either way.
std::string cross(const PictureCross& cross, const Panel& panel) {
    const double x = panel.x(cross.a), y = panel.y(coordinate(cross, panel.up_axis));
    const double across = half_bar(cross, 0) * panel.scale;
    const double up = half_bar(cross, panel.up_axis) * panel.scale;
    std::string svg = "<g>\n";
    svg += line(x - kCrossArm, y - kCrossArm, x + kCrossArm, y + kCrossArm, kCrossStyle);
    svg += line(x - kCrossArm, y + kCrossArm, x + kCrossArm, y - kCrossArm, kCrossStyle);
    if (across > 0) {
        svg += line(x - across, y, x + across, y, kCrossStyle);
        for (double end : {x - across, x + across})
            svg += line(end, y - kBarCap, end, y + kBarCap, kCrossStyle);
    }
    if (up > 0) {
        svg += line(x, y - up, x, y + up, kCrossStyle);
        for (double end : {y - up, y + up})
            svg += line(x - kBarCap, end, x + kBarCap, end, kCrossStyle);
    }
    return svg + "</g>\n";
}

std::string panel_drawing(const Picture& picture, const Panel& panel) {
    std::string svg = "<g>\n" + axes(panel) + bonds(picture, panel) + atoms(picture, panel);
    for (const PictureCross& c : picture.crosses)
        if (drawable(c))
            svg += cross(c, panel);
    return svg + "</g>\n";
}

} // namespace

std::string svg_picture(const Picture& picture) {
    const std::vector<Panel> panels = panels_of(picture);
    const std::string legend =
        "principal axes, " + number(panels.front().scale) + " px/A; circles: atoms" +
        (picture.crosses.empty() ? "" : "; crosses: r_s positions with their uncertainties");
    const double height =
        std::accumulate(panels.begin(), panels.end(), 0.0,
                        [](double h, const Panel& p) { return std::max(h, p.top + p.height()); }) +
        kLegendHeight + kMargin;
    const double width = std::max(panels.back().left + panels.back().width() + kMargin,
                                  2 * kMargin + kLegendCharacterWidth * legend.size());
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
                      number(width) + "\" height=\"" + number(height) + "\" viewBox=\"0 0 " +
                      number(width) + " " + number(height) + "\">\n";
    svg += "<title>" + escaped(picture.title) + "</title>\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + number(width) + "\" height=\"" + number(height) +
           "\" fill=\"#ffffff\"/>\n";
    svg += text(kMargin, kMargin + 14, picture.title, R"(font-size="15")");
    for (const Panel& panel : panels)
        svg += panel_drawing(picture, panel);
    svg += text(kMargin, height - kMargin, legend, R"(font-size="11" fill-opacity="0.7")");
    return svg + "</svg>\n";
}

} // namespace tessen::fit
