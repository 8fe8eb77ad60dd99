// genicons: draws the 28 icons of the menus, tool bars and trees of Mirasolve and
// writes them as "BandeMenu.bmp", a horizontal strip of 16 × 16 cells (448 × 16),
// 24-bit, in which pure magenta (#FF00FF) is the transparent colour. Beside it,
// "BandeMenu-2x.bmp" holds the same drawings made at 32 × 32 (896 × 32) for screens
// at twice the density, in the same format. Given a folder,
// it also draws the program's own icon there at the desktop's usual sizes, as
// <size>.png with transparency.
//
// Usage: genicons <output.bmp> [icon folder]   (the dense strip: <output>-2x.bmp)
//
// Each icon is painted on its own transparent cell, on a 16-unit grid scaled to the
// cell; the details drawn pixel by pixel are drawn at the cell's own pixels. The cell is then laid
// onto a magenta background keeping only pixels that are at least half opaque, at
// full opacity, so no colour of the picture is ever blended with the magenta.

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPointF>
#include <QPolygon>
#include <QRectF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <numbers>

namespace {

constexpr int kCell = 16;
constexpr int kCount = 28;
const QRgb kTransparent = qRgb(0xFF, 0x00, 0xFF);

// Palette shared by all the icons.
const QColor kOutline(0x40, 0x40, 0x40);
const QColor kWhite(0xFF, 0xFF, 0xFF);
const QColor kPaper(0xFA, 0xFA, 0xF5);
const QColor kLightGrey(0xD4, 0xD4, 0xD4);
const QColor kGrey(0x98, 0x98, 0x98);
const QColor kDarkGrey(0x68, 0x68, 0x68);
const QColor kFolder(0xF2, 0xC9, 0x4C);
const QColor kFolderLight(0xFA, 0xE0, 0x8C);
const QColor kFolderEdge(0x9A, 0x70, 0x10);
const QColor kGreyFolder(0xC8, 0xC8, 0xC8);
const QColor kGreyFolderLight(0xE4, 0xE4, 0xE4);
const QColor kGreyFolderEdge(0x78, 0x78, 0x78);
const QColor kGreen(0x22, 0xA0, 0x38);
const QColor kDarkGreen(0x14, 0x68, 0x22);
const QColor kRed(0xD8, 0x28, 0x28);
const QColor kBlue(0x2F, 0x6F, 0xD0);
const QColor kDarkBlue(0x1B, 0x46, 0x90);
const QColor kLens(0xC8, 0xE4, 0xFA);
const QColor kSky(0x78, 0xB8, 0xF0);
const QColor kHill(0x3C, 0xA0, 0x40);
const QColor kSun(0xF8, 0xD0, 0x20);

// ---------------------------------------------------------------------------
// Drawing helpers. Coordinates are pixels of the 16 × 16 grid; antialiasing is
// off, except where a round shape turns it on.

// How many pixels of the cell one unit of the grid covers (1, or 2 for the dense strip).
int scaleOf(const QPainter& p) {
    return std::max(1, p.device()->height() / kCell);
}

// A filled rectangle with a one-pixel border, covering exactly w × h pixels.
void box(QPainter& p, int x, int y, int w, int h, const QColor& edge, const QColor& fill) {
    p.fillRect(x, y, w, h, edge);
    if (w > 2 && h > 2) p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

// A closed folder whose outer size is w × h with its top-left corner at (x, y).
void folder(QPainter& p, int x, int y, int w, int h, const QColor& fill = kFolder,
            const QColor& light = kFolderLight, const QColor& edge = kFolderEdge) {
    const int tab = std::max(4, w * 2 / 5);
    box(p, x, y, tab, 3, edge, fill);          // tab
    box(p, x, y + 2, w, h - 2, edge, fill);    // body
    p.fillRect(x + 1, y + 3, w - 2, 1, light); // highlight under the top edge
}

// An open folder: the back of the folder with its front flap tilted forward, the
// flap's top edge shifted three pixels to the right of its bottom edge.
void openFolder(QPainter& p, int x, int y, int w, int h) {
    folder(p, x, y, w - 3, h);
    p.fillRect(x + 2, y + 4, w - 7, 2, kPaper); // a sheet showing inside
    const int top = y + 6;
    const int rows = h - 6;
    for (int r = 0; r < rows; ++r) {
        const int left = x + 3 * (rows - 1 - r) / (rows - 1);
        if (r == 0 || r == rows - 1) {
            p.fillRect(left, top + r, w - 3, 1, kFolderEdge);
        } else {
            p.fillRect(left, top + r, 1, 1, kFolderEdge);
            p.fillRect(left + 1, top + r, w - 5, 1, kFolderLight);
            p.fillRect(left + w - 4, top + r, 1, 1, kFolderEdge);
        }
    }
}

// A solid green plus sign, 7 × 7 on a white edging, centred on (cx, cy).
void plus(QPainter& p, int cx, int cy) {
    p.fillRect(cx - 4, cy - 2, 9, 5, kWhite);
    p.fillRect(cx - 2, cy - 4, 5, 9, kWhite);
    p.fillRect(cx - 3, cy - 1, 7, 3, kGreen);
    p.fillRect(cx - 1, cy - 3, 3, 7, kGreen);
}

// A red cross two pixels thick, size pixels wide and size - 1 rows high, its
// top-left corner at (x, y).
void cross(QPainter& p, int x, int y, int size) {
    // One step per row of the cell's pixels, so that a denser cell gets a smoother diagonal.
    const int s = scaleOf(p);
    for (int k = 0; k + s < size * s; ++k) {
        const double i = static_cast<double>(k) / s;
        p.fillRect(QRectF(x + i, y + i, 2, 1.0 / s), kRed);
        p.fillRect(QRectF(x + size - 2 - i, y + i, 2, 1.0 / s), kRed);
    }
}

// A green tick mark on a white edging, its bounding box 9 × 7 starting at (x, y).
void tick(QPainter& p, int x, int y) {
    const int s = scaleOf(p);
    const auto legs = [&](int dx, int dy, int size, const QColor& colour) {
        for (int k = 0; k <= 2 * s; ++k) { // short leg, going down
            const double i = static_cast<double>(k) / s;
            p.fillRect(QRectF(x + dx + i, y + dy + 2 + i, size, size), colour);
        }
        for (int k = 0; k <= 4 * s; ++k) { // long leg, going up
            const double i = static_cast<double>(k) / s;
            p.fillRect(QRectF(x + dx + 3 + i, y + dy + 3 - i, size, size), colour);
        }
    };
    legs(0, 0, 4, kWhite);
    legs(1, 1, 2, kGreen);
}

// A magnifying glass: a round lens of radius r centred on (cx, cy) and a handle
// pointing to the bottom right.
void magnifier(QPainter& p, double cx, double cy, double r, const QColor& rim, const QColor& glass) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const double d = r * std::numbers::sqrt2 / 2.0;
    p.setPen(QPen(kDarkGrey, 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx + d, cy + d), QPointF(cx + d + 4.0, cy + d + 4.0));
    p.setPen(QPen(rim, 1.6));
    p.setBrush(glass);
    p.drawEllipse(QPointF(cx, cy), r, r);
    p.restore();
}

// Part of a ring two pixels thick centred in the cell (it spans pixels 2 to 13 in
// both directions), from fromDeg counter-clockwise to toDeg; 0° points right.
void ringArc(QPainter& p, double fromDeg, double toDeg, const QColor& colour) {
    const auto norm = [](double deg) { return std::fmod(std::fmod(deg, 360.0) + 360.0, 360.0); };
    const double from = norm(fromDeg);
    const double span = toDeg - fromDeg >= 360.0 ? 360.0 : norm(toDeg - fromDeg);
    // Decided pixel by pixel of the cell, whatever its density.
    const int s = scaleOf(p);
    for (int y = 0; y < kCell * s; ++y) {
        for (int x = 0; x < kCell * s; ++x) {
            const double dx = (x + 0.5) / s - 8.0;
            const double dy = 8.0 - (y + 0.5) / s;
            const double d = std::hypot(dx, dy);
            if (d < 4.0 || d > 6.2) continue;
            const double a = norm(std::atan2(dy, dx) * 180.0 / std::numbers::pi);
            if (norm(a - from) <= span)
                p.fillRect(QRectF(static_cast<double>(x) / s, static_cast<double>(y) / s, 1.0 / s, 1.0 / s),
                           colour);
        }
    }
}

// An arrowhead three rows high and six pixels wide at its base, which lies on
// row y starting at column x; it points down or up.
void arrowHead(QPainter& p, int x, int y, bool down, const QColor& colour) {
    // Row by row of the cell's pixels, each one cell pixel narrower at both ends.
    const int s = scaleOf(p);
    for (int k = 0; k < 3 * s; ++k) {
        const double i = static_cast<double>(k) / s;
        const double row = down ? y + i : y + 1 - i - 1.0 / s;
        p.fillRect(QRectF(x + i, row, 6 - 2 * i, 1.0 / s), colour);
    }
}

// A small photograph: white border, sky, a sun and a green hill.
void photo(QPainter& p, int x, int y, int w, int h) {
    box(p, x, y, w, h, kOutline, kWhite);
    p.fillRect(x + 2, y + 2, w - 4, h - 4, kSky);
    p.fillRect(x + w - 5, y + 3, 2, 2, kSun);
    const QPolygon hill({QPoint(x + 2, y + h - 3), QPoint(x + 4, y + h - 5), QPoint(x + 6, y + h - 4),
                         QPoint(x + 8, y + h - 6), QPoint(x + w - 3, y + h - 4),
                         QPoint(x + w - 3, y + h - 3)});
    p.setPen(kHill);
    p.setBrush(kHill);
    p.drawPolygon(hill);
}

// A sheet of paper with a folded top-right corner, its outline from (x, y) to
// (x + w - 1, y + h - 1).
void sheet(QPainter& p, int x, int y, int w, int h) {
    const int r = x + w - 1;
    const int b = y + h - 1;
    const QPolygon outline({QPoint(x, y), QPoint(r - 3, y), QPoint(r, y + 3), QPoint(r, b), QPoint(x, b)});
    p.setPen(kOutline);
    p.setBrush(kPaper);
    p.drawPolygon(outline);
    const QPolygon fold({QPoint(r - 3, y), QPoint(r - 3, y + 3), QPoint(r, y + 3)});
    p.setBrush(kLightGrey);
    p.drawPolygon(fold);
}

// A small square node of a hierarchy diagram.
void node(QPainter& p, int x, int y, int w, int h, const QColor& fill) {
    box(p, x, y, w, h, kOutline, fill);
}

// A grey ring with one quarter in blue; frame 0 to 3 turns the quarter clockwise
// from the top.
void spinner(QPainter& p, int frame) {
    ringArc(p, 0.0, 360.0, kLightGrey);
    const double centre = 90.0 - 90.0 * frame;
    ringArc(p, centre - 45.0, centre + 45.0, kBlue);
}

// Magnifier of the duplicate search commands, drawn at the top left so that a
// badge fits in the bottom-left corner.
void searchMagnifier(QPainter& p, bool enabled) {
    if (enabled)
        magnifier(p, 8.5, 6.0, 4.5, kDarkBlue, kLens);
    else
        magnifier(p, 8.5, 6.0, 4.5, kDarkGrey, kLightGrey);
}

// ---------------------------------------------------------------------------
// One drawing function per icon, in the order of the strip.

// 0: choose a new source folder; also the "enter this level" icon of the tiles.
void drawEnterFolder(QPainter& p) {
    folder(p, 0, 5, 14, 10);
    // Green arrow coming down from the top right into the folder.
    p.fillRect(9, 0, 3, 7, kGreen);
    const QPolygon head({QPoint(7, 7), QPoint(13, 7), QPoint(10, 10)});
    p.setPen(kGreen);
    p.setBrush(kGreen);
    p.drawPolygon(head);
    p.fillRect(8, 0, 1, 7, kDarkGreen);
}

// 1: refresh the source — two green arrows chasing each other round a circle.
void drawRefresh(QPainter& p) {
    ringArc(p, 5.0, 125.0, kGreen);    // upper arc, running clockwise
    arrowHead(p, 10, 8, true, kGreen); // down the right side
    ringArc(p, 185.0, 305.0, kGreen);  // lower arc, running clockwise
    arrowHead(p, 0, 7, false, kGreen); // up the left side
}

// 2: manage multiple configurations — a stack of cards, the front one holding a
// small tree of destinations.
void drawConfigurations(QPainter& p) {
    box(p, 5, 0, 11, 9, kDarkGrey, kLightGrey);
    box(p, 3, 2, 11, 10, kDarkGrey, kGreyFolderLight);
    box(p, 0, 5, 12, 11, kOutline, kPaper);
    p.fillRect(2, 7, 3, 2, kBlue);
    p.fillRect(3, 9, 1, 4, kDarkGrey);
    p.fillRect(4, 10, 2, 1, kDarkGrey);
    p.fillRect(4, 12, 2, 1, kDarkGrey);
    p.fillRect(6, 9, 4, 2, kFolder);
    p.fillRect(6, 12, 4, 2, kFolder);
}

// 3: not used by a command — a blank sheet.
void drawBlankSheet(QPainter& p) {
    sheet(p, 3, 1, 10, 14);
}

// 4: switch the duplicate search off for every destination.
void drawSearchOff(QPainter& p) {
    searchMagnifier(p, false);
    cross(p, 0, 9, 7);
}

// 5: not used by a command — a grey dot.
void drawDot(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kDarkGrey, 1.0));
    p.setBrush(kGrey);
    p.drawEllipse(QPointF(8.0, 8.0), 3.5, 3.5);
}

// 6: not used by a command — a sheet with lines of text.
void drawTextSheet(QPainter& p) {
    sheet(p, 3, 1, 10, 14);
    for (int y = 5; y <= 12; y += 2)
        p.fillRect(5, y, y == 5 ? 4 : 6, 1, kGrey);
}

// 7: add a destination — a folder with a plus sign.
void drawAddDestination(QPainter& p) {
    folder(p, 0, 2, 13, 10);
    plus(p, 11, 11);
}

// 8: LOCAL search for every destination — the magnifier with the letter L.
void drawSearchLocal(QPainter& p) {
    searchMagnifier(p, true);
    p.fillRect(0, 9, 2, 7, kGreen);  // upright
    p.fillRect(0, 14, 6, 2, kGreen); // foot
}

// 9: undo the last command — an arrow turning back to the left.
void drawUndo(QPainter& p) {
    ringArc(p, -40.0, 175.0, kBlue); // from the lower right, over the top
    arrowHead(p, 0, 8, true, kBlue); // down the left side
}

// 10: add a destination with its sub-folders — a folder, a sub-folder hanging
// below it and a plus sign.
void drawAddWithSubfolders(QPainter& p) {
    folder(p, 0, 0, 11, 8);
    p.fillRect(2, 8, 1, 5, kDarkGrey);  // branch down from the parent
    p.fillRect(3, 12, 2, 1, kDarkGrey); // and across to the sub-folder
    folder(p, 5, 9, 7, 6);
    plus(p, 12, 4);
}

// 11: GENERAL search for every destination — the magnifier with the letter G.
void drawSearchGeneral(QPainter& p) {
    searchMagnifier(p, true);
    p.fillRect(1, 9, 4, 2, kBlue);  // top bar
    p.fillRect(0, 10, 2, 5, kBlue); // left side
    p.fillRect(1, 14, 4, 2, kBlue); // bottom bar
    p.fillRect(4, 12, 2, 3, kBlue); // lower right side
    p.fillRect(3, 12, 1, 1, kBlue); // inner bar
}

// 12: close all destinations — two folders and a red cross.
void drawCloseAll(QPainter& p) {
    folder(p, 3, 0, 12, 9);
    folder(p, 0, 3, 12, 9);
    cross(p, 8, 8, 8);
}

// 13: not used by a command — a blue diamond.
void drawDiamond(QPainter& p) {
    const QPolygon diamond({QPoint(8, 3), QPoint(13, 8), QPoint(8, 13), QPoint(3, 8)});
    p.setPen(kDarkBlue);
    p.setBrush(kSky);
    p.drawPolygon(diamond);
}

// 14: help contents — a white question mark on a blue disc.
void drawHelp(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kDarkBlue, 1.0));
    p.setBrush(kBlue);
    p.drawEllipse(QPointF(8.0, 8.0), 7.0, 7.0);
    p.setPen(QPen(kWhite, 2.0, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(5.5, 3.5, 5.0, 5.0), 160 * 16, -250 * 16);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(7, 8, 2, 2, kWhite);
    p.fillRect(7, 11, 2, 2, kWhite);
}

// 15: not used by a command — a grey ring.
void drawRing(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(kDarkGrey, 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8.0, 8.0), 4.5, 4.5);
}

// 16: empty the trash — a waste bin with its lid lifted.
void drawEmptyTrash(QPainter& p) {
    // Lid with its handle, lifted off the bin.
    p.fillRect(6, 0, 4, 1, kOutline);
    p.fillRect(6, 1, 1, 1, kOutline);
    p.fillRect(9, 1, 1, 1, kOutline);
    box(p, 2, 2, 12, 3, kOutline, kGrey);
    // Body with vertical ribs.
    box(p, 3, 6, 10, 10, kOutline, kLightGrey);
    for (int x = 5; x <= 10; x += 2)
        p.fillRect(x, 8, 1, 6, kGrey);
}

// 17: a destination in the configuration tree — a closed folder.
void drawTreeNode(QPainter& p) {
    folder(p, 1, 2, 14, 12);
}

// 18: the selected destination in the configuration tree — an open folder.
void drawTreeNodeSelected(QPainter& p) {
    openFolder(p, 0, 2, 16, 12);
}

// 19: root "Arborescence" of the configuration tree — a hierarchy diagram.
void drawTreeRoot(QPainter& p) {
    node(p, 5, 1, 6, 5, kGreen);
    p.fillRect(7, 6, 2, 3, kOutline);
    p.fillRect(2, 8, 12, 1, kOutline);
    p.fillRect(2, 8, 1, 3, kOutline);
    p.fillRect(13, 8, 1, 3, kOutline);
    node(p, 0, 10, 6, 5, kSky);
    node(p, 10, 10, 6, 5, kSky);
}

// 20: show the destinations holding duplicate images — two identical photos.
void drawDuplicates(QPainter& p) {
    photo(p, 0, 1, 11, 9);
    photo(p, 5, 6, 11, 9);
}

// 21 to 24: busy animation while the duplicate search runs.
void drawBusy0(QPainter& p) {
    spinner(p, 0);
}
void drawBusy1(QPainter& p) {
    spinner(p, 1);
}
void drawBusy2(QPainter& p) {
    spinner(p, 2);
}
void drawBusy3(QPainter& p) {
    spinner(p, 3);
}

// 25: preferences — a gear wheel.
void drawPreferences(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c(8.0, 8.0);
    QPainterPath gear;
    gear.setFillRule(Qt::WindingFill);
    for (int i = 0; i < 8; ++i) {
        const double a = i * std::numbers::pi / 4.0;
        const QPointF dir(std::cos(a), std::sin(a));
        const QPointF side(-dir.y(), dir.x());
        const QPointF base = c + dir * 4.0;
        const QPointF tip = c + dir * 7.2;
        gear.addPolygon(
            QPolygonF({base - side * 1.5, tip - side * 1.2, tip + side * 1.2, base + side * 1.5}));
        gear.closeSubpath();
    }
    gear.addEllipse(c, 5.3, 5.3);
    QPainterPath hole;
    hole.addEllipse(c, 2.2, 2.2);
    p.setPen(QPen(kOutline, 1.0));
    p.setBrush(kGrey);
    p.drawPath(gear.simplified().subtracted(hole));
}

// 26: a folder of the signature store that is not an open destination.
void drawStoredFolder(QPainter& p) {
    folder(p, 1, 2, 14, 12, kGreyFolder, kGreyFolderLight, kGreyFolderEdge);
}

// 27: a folder of the signature store that is open as a destination.
void drawStoredOpenFolder(QPainter& p) {
    folder(p, 0, 1, 13, 11);
    tick(p, 5, 8);
}

using DrawIcon = void (*)(QPainter&);

// The strip, indexed by position.
constexpr DrawIcon kIcons[] = {
    drawEnterFolder,       // 0
    drawRefresh,           // 1
    drawConfigurations,    // 2
    drawBlankSheet,        // 3
    drawSearchOff,         // 4
    drawDot,               // 5
    drawTextSheet,         // 6
    drawAddDestination,    // 7
    drawSearchLocal,       // 8
    drawUndo,              // 9
    drawAddWithSubfolders, // 10
    drawSearchGeneral,     // 11
    drawCloseAll,          // 12
    drawDiamond,           // 13
    drawHelp,              // 14
    drawRing,              // 15
    drawEmptyTrash,        // 16
    drawTreeNode,          // 17
    drawTreeNodeSelected,  // 18
    drawTreeRoot,          // 19
    drawDuplicates,        // 20
    drawBusy0,             // 21
    drawBusy1,             // 22
    drawBusy2,             // 23
    drawBusy3,             // 24
    drawPreferences,       // 25
    drawStoredFolder,      // 26
    drawStoredOpenFolder,  // 27
};
static_assert(std::size(kIcons) == kCount);

// Paints every icon on its own transparent cell of scale × 16 pixels, the 16-unit
// grid scaled to it, and lays it onto the magenta strip.
QImage buildStrip(int scale) {
    const int cellSize = kCell * scale;
    QImage strip(cellSize * kCount, cellSize, QImage::Format_RGB32);
    strip.fill(kTransparent);

    for (int index = 0; index < kCount; ++index) {
        QImage cell(cellSize, cellSize, QImage::Format_ARGB32);
        cell.fill(Qt::transparent);
        {
            QPainter painter(&cell);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.scale(scale, scale);
            kIcons[index](painter);
        }
        for (int y = 0; y < cellSize; ++y) {
            for (int x = 0; x < cellSize; ++x) {
                const QRgb c = cell.pixel(x, y);
                if (qAlpha(c) < 128) continue;
                QRgb opaque = qRgb(qRed(c), qGreen(c), qBlue(c));
                if (opaque == kTransparent) opaque = qRgb(0xFE, 0x00, 0xFE); // keep drawn pixels visible
                strip.setPixel(index * cellSize + x, y, opaque);
            }
        }
    }
    return strip;
}

// The dense strip's file: "-2x" before the extension of the strip's file.
QString denseFile(const QString& file) {
    const qsizetype dot = file.lastIndexOf(u'.');
    const qsizetype slash = file.lastIndexOf(u'/');
    return dot > slash && dot > 0 ? file.left(dot) + QStringLiteral("-2x") + file.mid(dot)
                                  : file + QStringLiteral("-2x");
}

// The program's icon, drawn on a 64-unit grid scaled to the size asked: a photo of a
// sunny hill dropping into an open folder, on a blue rounded square.
QImage buildAppIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / 64.0, size / 64.0);

    QLinearGradient background(0, 2, 0, 62);
    background.setColorAt(0, kBlue.lighter(125));
    background.setColorAt(1, kDarkBlue);
    painter.setPen(Qt::NoPen);
    painter.setBrush(background);
    painter.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);

    // The folder's back, with its tab.
    painter.setBrush(kFolderEdge);
    painter.drawPolygon(QPolygonF({QPointF(9, 24), QPointF(24, 24), QPointF(28, 28), QPointF(55, 28),
                                   QPointF(55, 54), QPointF(9, 54)}));

    // The photo, slightly turned, half into the folder.
    painter.save();
    painter.translate(32, 24);
    painter.rotate(-8);
    painter.setBrush(kWhite);
    painter.setPen(QPen(kOutline, 1.2));
    painter.drawRect(QRectF(-17, -15, 34, 28));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSky);
    painter.drawRect(QRectF(-14, -12, 28, 22));
    painter.setBrush(kSun);
    painter.drawEllipse(QPointF(7, -5), 4, 4);
    painter.setBrush(kHill);
    painter.drawPolygon(QPolygonF({QPointF(-14, 10), QPointF(-14, 2), QPointF(-6, -4), QPointF(2, 3),
                                   QPointF(8, 0), QPointF(14, 5), QPointF(14, 10)}));
    painter.restore();

    // The folder's front.
    painter.setBrush(kFolder);
    painter.setPen(QPen(kFolderEdge, 1.5));
    painter.drawPolygon(QPolygonF({QPointF(6, 34), QPointF(58, 34), QPointF(54, 56), QPointF(10, 56)}));
    painter.setPen(QPen(kFolderLight, 1.5));
    painter.drawLine(QPointF(9, 37), QPointF(55, 37));
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <output.bmp> [icon folder]\n", argv[0]);
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    for (const int scale : {1, 2}) {
        const QString file = scale == 1 ? output : denseFile(output);
        if (!buildStrip(scale).convertToFormat(QImage::Format_RGB888).save(file, "BMP")) {
            std::fprintf(stderr, "genicons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    if (argc == 3) {
        for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            const QString file = QString::fromLocal8Bit(argv[2]) + QStringLiteral("/%1.png").arg(size);
            if (!buildAppIcon(size).save(file, "PNG")) {
                std::fprintf(stderr, "genicons: cannot write %s\n", qPrintable(file));
                return 1;
            }
        }
    }
    return 0;
}
