#include "tools/brix/demo/ContactSheet.h"

#include <algorithm>

#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextLayout.h"

namespace tools::demo {

namespace {

    constexpr double margin = 16;
    constexpr double headerHeight = 56;
    constexpr double captionHeight = 40;
    constexpr double frameRadius = 14;
    constexpr graphics::Color background { 0.11, 0.11, 0.12, 1 };
    constexpr graphics::Color titleColor { 1, 1, 1, 1 };
    constexpr graphics::Color detailColor { 0.62, 0.62, 0.66, 1 };
    constexpr graphics::Color accentColor { 1, 0.78, 0.25, 1 };

    graphics::TextLayout text(const std::string& content, double size, graphics::FontWeight weight, double width)
    {
        graphics::TextLayout layout(content, graphics::Font(size, weight));
        layout.setWidth(width);
        layout.setMaximumLines(1);
        return layout;
    }

    struct Grid {
        double cellWidth { 0 };
        double cellHeight { 0 };
        int rows { 0 };
        double width() const { return margin + ContactSheet::columns * (cellWidth + margin); }
        double height() const { return headerHeight + rows * (cellHeight + captionHeight + margin) + margin; }
    };

    Grid gridFor(const std::vector<KeyFrame>& frames)
    {
        Grid grid;
        for (auto& frame : frames) {
            grid.cellWidth = std::max(grid.cellWidth, double(frame.image.width()));
            grid.cellHeight = std::max(grid.cellHeight, double(frame.image.height()));
        }
        // An empty sheet still has room for its title.
        grid.cellWidth = std::max(grid.cellWidth, 160.0);
        grid.rows = static_cast<int>((frames.size() + ContactSheet::columns - 1) / ContactSheet::columns);
        return grid;
    }

    void drawCell(graphics::Canvas& canvas, const KeyFrame& frame, const Grid& grid, double x, double y)
    {
        graphics::Rect place { x + (grid.cellWidth - frame.image.width()) / 2, y, double(frame.image.width()),
            double(frame.image.height()) };
        canvas.save();
        canvas.clipTo({ place, frameRadius, graphics::CornerStyle::Continuous });
        canvas.drawImage(frame.image, 1, place, graphics::ContentMode::ScaleToFill);
        canvas.restore();
        double captionTop = y + grid.cellHeight + 6;
        canvas.drawText(
            text(frame.title, 14, graphics::FontWeight::Bold, grid.cellWidth), { x, captionTop }, titleColor);
        canvas.drawText(
            text(frame.detail, 11, graphics::FontWeight::Regular, grid.cellWidth), { x, captionTop + 19 }, detailColor);
    }

} // namespace

foundation::Result<graphics::Image> ContactSheet::compose(
    const std::string& title, const std::string& subtitle, const std::vector<KeyFrame>& frames)
{
    Grid grid = gridFor(frames);
    auto sheet = graphics::Image::create(std::llround(grid.width()), std::llround(grid.height()));
    if (!sheet)
        return sheet.error();
    graphics::Canvas canvas(sheet.value());
    canvas.fill({ { 0, 0, grid.width(), grid.height() } }, background);
    double textWidth = grid.width() - 2 * margin;
    canvas.drawText(text(title, 20, graphics::FontWeight::Bold, textWidth), { margin, 10 }, accentColor);
    canvas.drawText(text(subtitle, 12, graphics::FontWeight::Regular, textWidth), { margin, 36 }, detailColor);
    for (size_t index = 0; index < frames.size(); ++index) {
        double x = margin + static_cast<double>(index % columns) * (grid.cellWidth + margin);
        double y = headerHeight + static_cast<double>(index / columns) * (grid.cellHeight + captionHeight + margin);
        drawCell(canvas, frames[index], grid, x, y);
    }
    canvas.flush();
    return sheet;
}

} // namespace tools::demo
