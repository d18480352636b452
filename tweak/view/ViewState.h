#pragma once

#include <map>
#include <string>

#include "platform/device/Forward.h"
#include "platform/foundation/Value.h"
#include "platform/runtime/Ref.h"

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

    // Glyph pictures by their image name in the asset bundle. The bundle does
    // not change while the process runs, so each is found and decoded once.
    runtime::Object* glyphImage(const std::string& name) const;
    void keepGlyphImage(const std::string& name, runtime::Object* image);

private:
    bool m_dismissNotification { true };
    foundation::Value m_glyphTable;
    std::map<std::string, runtime::Ref<runtime::Object>, std::less<>> m_glyphImages;
};

} // namespace brix
