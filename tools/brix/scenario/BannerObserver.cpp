#include "tools/brix/scenario/BannerObserver.h"

#include <algorithm>
#include <memory>

#include "platform/device/Device.h"
#include "platform/device/Json.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/NCNotificationRequest.h"
#include "platform/springboard/NCNotificationViewController.h"

namespace tools::scenario {

using foundation::Value;
using runtime::Imp;
using runtime::Object;
using runtime::Ref;
using runtime::Selector;

namespace {

    constexpr const char* bannerClassName = "BrixContainer";

    // The texts a banner's header and body labels show now.
    std::pair<Value, Value> shownTexts(Object* banner)
    {
        auto header = runtime::sendIfResponds<Ref<Object>>(banner, SEL("headerLabel"));
        auto body = runtime::sendIfResponds<Ref<Object>>(banner, SEL("bodyLabel"));
        return { runtime::sendIfResponds<Value>(header.get(), SEL("text")),
            runtime::sendIfResponds<Value>(body.get(), SEL("text")) };
    }

    springboard::NCNotificationViewController* controllerOf(Object* banner)
    {
        auto delegate = runtime::sendIfResponds<Ref<Object>>(banner, SEL("delegate"));
        return dynamic_cast<springboard::NCNotificationViewController*>(delegate.get());
    }

} // namespace

BannerObserver::BannerObserver(device::Process& process)
    : m_process(&process)
{
}

void BannerObserver::observe(device::Process& process)
{
    auto& observer = process.service<BannerObserver>();
    if (!observer.m_installed)
        observer.install();
}

void BannerObserver::install()
{
    auto& runtime = m_process->runtime();
    runtime::Class* cls = runtime.classNamed(bannerClassName);
    if (!cls)
        return;
    m_installed = true;
    // The replacements outlive the observer (the run time goes last), so they
    // find it anew each time and do nothing once the process has let it go.
    auto* process = m_process;
    auto observer = [process] { return process->existingService<BannerObserver>(); };
    auto previousInit = std::make_shared<Imp>();
    *previousInit = runtime.hookMessage(*cls, SEL("initWithUIImage:andHeader:andSubHeader:andBody:"),
        Imp::of([observer, previousInit](Object* banner, Selector selector, Object* image, Value header,
                    Value subHeader, Value body) -> Ref<Object> {
            auto made = previousInit->operator()<Ref<Object>>(banner, selector, image, header, subHeader, body);
            if (auto* self = observer(); made && self)
                self->constructed(made.get(), header, subHeader, body);
            return made;
        }));
    auto previousMove = std::make_shared<Imp>();
    *previousMove = runtime.hookMessage(
        *cls, SEL("didMoveToWindow"), Imp::of([observer, previousMove](Object* banner, Selector selector) {
            previousMove->operator()<void>(banner, selector);
            if (auto* self = observer())
                self->windowChanged(banner);
        }));
    auto previousImage = std::make_shared<Imp>();
    *previousImage = runtime.hookMessage(
        *cls, SEL("updateImage:"), Imp::of([observer, previousImage](Object* banner, Selector selector, Object* image) {
            Ref<Object> protect(banner);
            previousImage->operator()<void>(banner, selector, image);
            if (auto* self = observer())
                self->imageUpdated(banner, image);
        }));
    auto previousUpdate = std::make_shared<Imp>();
    *previousUpdate = runtime.hookMessage(*cls, SEL("updateBannerForContinuousNotification:"),
        Imp::of([observer, previousUpdate](Object* banner, Selector selector, Value text) {
            Ref<Object> protect(banner);
            auto before = shownTexts(banner);
            previousUpdate->operator()<void>(banner, selector, text);
            if (auto* self = observer())
                self->textsMayHaveChanged(banner, before);
        }));
    auto previousShow = std::make_shared<Imp>();
    *previousShow = runtime.hookMessage(
        *cls, SEL("showContent"), Imp::of([observer, previousShow](Object* banner, Selector selector) {
            Ref<Object> protect(banner);
            auto before = shownTexts(banner);
            previousShow->operator()<void>(banner, selector);
            if (auto* self = observer())
                self->textsMayHaveChanged(banner, before);
        }));
}

BannerObserver::Record& BannerObserver::recordFor(Object* banner)
{
    if (m_records.size() >= 2 * m_recordsAfterSweep) {
        std::erase_if(m_records, [](const auto& entry) { return !entry.second.banner.get(); });
        m_recordsAfterSweep = std::max<size_t>(m_records.size(), 16);
    }
    auto [found, added] = m_records.try_emplace(banner);
    Record& record = found->second;
    if (!added && record.banner.get() == banner)
        return record;
    record = { runtime::WeakRef<Object>(banner), {}, {}, {}, {}, false, false };
    return record;
}

void BannerObserver::constructed(Object* banner, const Value& header, const Value& subHeader, const Value& body)
{
    auto& record = recordFor(banner);
    record.header = header;
    record.subHeader = subHeader;
    record.body = body;
}

Value BannerObserver::bannerId(Record& record)
{
    if (record.id.isNil()) {
        if (auto* controller = controllerOf(record.banner.get()))
            record.id = controller->notificationIdentifier();
    }
    return record.id;
}

void BannerObserver::traceAttached(Record& record)
{
    Object* banner = record.banner.get();
    auto* controller = controllerOf(banner);
    auto* request = controller ? controller->notificationRequest() : nullptr;
    auto colors = runtime::sendIfResponds<Ref<Object>>(banner, SEL("colorSet"));
    m_process->device().trace().emit("banner.attached",
        {
            { "id", device::toJson(bannerId(record)) },
            { "brixIdentifier", device::toJson(runtime::sendIfResponds<Value>(controller, SEL("brixIdentifier"))) },
            { "app", device::toJson(request ? request->sectionIdentifier() : Value()) },
            { "header", device::toJson(record.header) },
            { "subheader", device::toJson(record.subHeader) },
            { "body", device::toJson(record.body) },
            { "tiny", runtime::sendIfResponds<bool>(banner, SEL("tinyBanner")) },
            { "colorMode", runtime::sendIfResponds<uint64_t>(colors.get(), SEL("mode")) },
        });
}

void BannerObserver::windowChanged(Object* banner)
{
    // Views leaving while the process ends are not shown leaving: the process is gone.
    if (!m_process->isRunning())
        return;
    auto& record = recordFor(banner);
    bool onScreen = runtime::sendIfResponds<Ref<Object>>(banner, SEL("window")) != nullptr;
    if (onScreen == record.onScreen)
        return;
    record.onScreen = onScreen;
    if (onScreen && !record.attached) {
        record.attached = true;
        traceAttached(record);
    } else if (!onScreen && record.attached) {
        m_process->device().trace().emit("banner.removed", { { "id", device::toJson(bannerId(record)) } });
    }
}

void BannerObserver::imageUpdated(Object* banner, Object* image)
{
    if (!m_process->isRunning())
        return;
    auto& record = recordFor(banner);
    m_process->device().trace().emit(
        "banner.image", { { "id", device::toJson(bannerId(record)) }, { "hasImage", image != nullptr } });
}

void BannerObserver::textsMayHaveChanged(Object* banner, const std::pair<Value, Value>& before)
{
    auto after = shownTexts(banner);
    if (after == before || !m_process->isRunning())
        return;
    auto& record = recordFor(banner);
    m_process->device().trace().emit("banner.text",
        { { "id", device::toJson(bannerId(record)) }, { "header", device::toJson(after.first) },
            { "body", device::toJson(after.second) } });
}

} // namespace tools::scenario
