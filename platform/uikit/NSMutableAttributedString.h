#pragma once

#include "platform/uikit/NSAttributedString.h"

namespace uikit {

// An attributed string whose attributes and text can grow.
class NSMutableAttributedString : public NSAttributedString {
public:
    using NSAttributedString::NSAttributedString;

    using NSAttributedString::addAttribute;
    // Appends the text of `other` with its attributes, shifted to where it lands.
    void append(const NSAttributedString& other);

    static void registerClass(device::Process&);
};

} // namespace uikit
