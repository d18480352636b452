#pragma once

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"

namespace brix {

// The class-wide state of the banner view in one process: the hold flag that
// `+[BrixContainer DismissNotification]` answers and the glyph table that
// every construction renews. It is a per-process service, so two processes
// never share it.
class ViewState {
public:
    explicit ViewState(device::Process&) { }

    bool dismissNotification() const { return m_dismissNotification; }
    void setDismissNotification(bool value) { m_dismissNotification = value; }

    // Glyph key ("<bundle identifier>-black" or "-white") to image name.
    const foundation::Value& glyphTable() const { return m_glyphTable; }
    void renewGlyphTable();

private:
    bool m_dismissNotification { true };
    foundation::Value m_glyphTable;
};

} // namespace brix
