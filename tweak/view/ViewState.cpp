#include "tweak/view/ViewState.h"

#include <array>
#include <string_view>

#include "platform/runtime/Object.h"

namespace brix {

namespace {

    struct GlyphApp {
        std::string_view bundleIdentifier;
        std::string_view glyph;
    };

    constexpr std::array<GlyphApp, 9> glyphApps { {
        { "net.whatsapp.WhatsApp", "whatsapp" },
        { "net.whatsapp.WhatsAppSMB", "whatsapp" },
        { "com.apple.MobileSMS", "imessages" },
        { "com.atebits.Tweetie2", "twitter" },
        { "com.tinyspeck.chatlyio", "slack" },
        { "com.hammerandchisel.discord", "discord" },
        { "com.burbn.instagram", "instagram" },
        { "com.facebook.Messenger", "facebook_messenger" },
        { "ph.telegra.Telegraph", "telegram" },
    } };

} // namespace

void ViewState::renewGlyphTable()
{
    foundation::Value table = foundation::Value::dictionary();
    for (const GlyphApp& app : glyphApps) {
        for (std::string_view variant : { "black", "white" }) {
            std::string key = std::string(app.bundleIdentifier) + "-" + std::string(variant);
            table.set(key, "glyphs/" + std::string(variant) + "/" + std::string(app.glyph));
        }
    }
    m_glyphTable = std::move(table);
}

runtime::Object* ViewState::glyphImage(const std::string& name) const
{
    auto found = m_glyphImages.find(name);
    return found == m_glyphImages.end() ? nullptr : found->second.get();
}

void ViewState::keepGlyphImage(const std::string& name, runtime::Object* image)
{
    if (image)
        m_glyphImages.insert_or_assign(name, runtime::Ref<runtime::Object>(image));
}

} // namespace brix
