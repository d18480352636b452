#pragma once

#include <string>
#include <vector>

#include "platform/foundation/Result.h"
#include "platform/graphics/Image.h"

namespace tools::demo {

// One picture of a contact sheet and its two-line caption.
struct KeyFrame {
    std::string title; // "A drag expands it"
    std::string detail; // "2.60 s · step 6"
    graphics::Image image;
};

// The key frames of a run side by side, `columns` to a row, each with its
// caption beneath, under a title. Frames keep their own pixel size; a cell is
// as large as the largest frame.
class ContactSheet {
public:
    static constexpr int columns = 4;

    static foundation::Result<graphics::Image> compose(
        const std::string& title, const std::string& subtitle, const std::vector<KeyFrame>&);
};

} // namespace tools::demo
