#include "tools/brix/SettingsDriver.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <functional>

#include "platform/apps/Apps.h"
#include "platform/preferences/PSListController.h"
#include "platform/preferences/PSListItemsController.h"
#include "platform/preferences/PSSegmentTableCell.h"
#include "platform/preferences/PSSliderTableCell.h"
#include "platform/preferences/PSSwitchTableCell.h"
#include "platform/preferences/SettingsApp.h"
#include "platform/runtime/Send.h"
#include "platform/springboard/BannerPresenter.h"
#include "platform/springboard/NCNotificationShortLookViewController.h"
#include "platform/uikit/TouchDelivery.h"
#include "platform/uikit/UIAlertAction.h"
#include "platform/uikit/UIAlertController.h"
#include "platform/uikit/UIBarButtonItem.h"
#include "platform/uikit/UINavigationBar.h"
#include "platform/uikit/UINavigationController.h"
#include "platform/uikit/UINavigationItem.h"
#include "platform/uikit/UISegmentedControl.h"
#include "platform/uikit/UISlider.h"
#include "platform/uikit/UISwitch.h"
#include "platform/uikit/UITableView.h"

namespace tools {

using foundation::Error;
using foundation::Result;
using foundation::Value;
using preferences::PSListController;
using preferences::PSSpecifier;
using runtime::Ref;

namespace {

    // How long a tap takes to play out: page transitions, alerts, the home screen's work.
    constexpr double tapTime = 1;
    // How deep links are followed when looking for a row.
    constexpr size_t deepestPage = 3;

    std::string lowered(std::string text)
    {
        std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    }

    std::string titleOf(const PSSpecifier& row)
    {
        return row.name().isString() ? row.name().string() : std::string();
    }

    bool isValueRow(const PSSpecifier& row)
    {
        switch (row.cellType()) {
        case PSSpecifier::SwitchCell:
        case PSSpecifier::SliderCell:
        case PSSpecifier::SegmentCell:
        case PSSpecifier::LinkListCell:
            return true;
        default:
            return false;
        }
    }

    bool opensPage(const PSSpecifier& row)
    {
        return row.cellType() == PSSpecifier::LinkCell && !row.detailControllerClassName().empty();
    }

    std::string kindOf(const PSSpecifier& row)
    {
        switch (row.cellType()) {
        case PSSpecifier::SwitchCell:
            return "switch";
        case PSSpecifier::SliderCell:
            return "slider";
        case PSSpecifier::SegmentCell:
            return "segments";
        case PSSpecifier::LinkListCell:
            return "choice";
        case PSSpecifier::LinkCell:
            return "link";
        case PSSpecifier::ButtonCell:
            return "button";
        case PSSpecifier::TitleValueCell:
            return "value";
        default:
            return "text";
        }
    }

    std::optional<bool> parseSwitch(const std::string& text)
    {
        auto word = lowered(text);
        if (word == "on" || word == "yes" || word == "true" || word == "1")
            return true;
        if (word == "off" || word == "no" || word == "false" || word == "0")
            return false;
        return std::nullopt;
    }

    std::optional<double> parseNumber(const std::string& text)
    {
        if (text.empty())
            return std::nullopt;
        char* end = nullptr;
        double value = std::strtod(text.c_str(), &end);
        if (end != text.c_str() + text.size() || !std::isfinite(value))
            return std::nullopt;
        return value;
    }

    // The index of the choice `text` names: by title (any case), else by value.
    std::optional<size_t> choiceIndex(const PSSpecifier& row, const std::string& text)
    {
        for (size_t index = 0; index < row.titles().count(); ++index) {
            if (row.titles()[index].isString() && lowered(row.titles()[index].string()) == lowered(text))
                return index;
        }
        auto number = parseNumber(text);
        for (size_t index = 0; index < row.values().count(); ++index) {
            const Value& value = row.values()[index];
            if ((value.isString() && value.string() == text) || (number && value.isNumber() && value.real() == *number))
                return index;
        }
        return std::nullopt;
    }

    std::string choicesOf(const PSSpecifier& row)
    {
        std::string list;
        for (auto& title : row.titles().items())
            list += (list.empty() ? "" : ", ") + title.string();
        return list;
    }

    uikit::UIAlertController* alertOver(PSListController* page)
    {
        return page ? dynamic_cast<uikit::UIAlertController*>(page->presented()) : nullptr;
    }

} // namespace

SettingsDriver::SettingsDriver(device::Device& device, Waiting waiting)
    : m_device(&device)
    , m_waiting(waiting)
    , m_settingsErrors(std::make_shared<std::vector<std::string>>())
{
    // Held by the sink as well, which may outlive the driver; a trace need not keep its events.
    device.trace().addSink([errors = m_settingsErrors](const device::Trace::Event& event) {
        if (event.value("type", "") == "settings.error" && event.value("message", "").starts_with("cannot store "))
            errors->push_back(event.value("message", ""));
    });
}

device::Process* SettingsDriver::settingsProcess() const
{
    return m_device->process(apps::settingsApp);
}

PSListController* SettingsDriver::topPage() const
{
    auto* process = settingsProcess();
    return process ? dynamic_cast<PSListController*>(preferences::SettingsApp::of(*process).topPage()) : nullptr;
}

bool SettingsDriver::settle()
{
    if (m_waiting == Waiting::DueWorkOnly)
        return m_device->scheduler().runDue(maxTasks);
    return m_device->scheduler().advance(tapTime, maxTasks);
}

Result<PSListController*> SettingsDriver::openRoot()
{
    if (!m_device->process(apps::homeScreen))
        m_device->launch(apps::homeScreen);
    if (!settingsProcess())
        m_device->launch(apps::settingsApp);
    auto* process = settingsProcess();
    if (!process)
        return Error { "the Settings app did not start" };
    auto opened = preferences::SettingsApp::of(*process).openEntry(entryLabel);
    if (!opened)
        return Error { "the Settings app cannot open " + std::string(entryLabel) + ": " + opened.error().message };
    if (!settle())
        return Error { "the Settings app did not settle after opening " + std::string(entryLabel) };
    auto* page = dynamic_cast<PSListController*>(opened.value().get());
    if (!page)
        return Error { std::string(entryLabel) + "'s first page is not a list of settings" };
    return page;
}

SettingsDriver::Page SettingsDriver::describe(PSListController& page) const
{
    Page described;
    described.title = page.title().isString() ? page.title().string() : std::string();
    if (auto* right = page.navigationItem()->rightBarButtonItem(); right && right->title().isString())
        described.barButton = right->title().string();
    for (auto& group : page.groups()) {
        Section section;
        if (group.header) {
            section.header = titleOf(*group.header);
            const Value& footer = group.header->property("footerText");
            section.footer = footer.isString() ? footer.string() : std::string();
        }
        for (auto& row : group.rows) {
            auto* cell = dynamic_cast<preferences::PSTableCell*>(page.cellFor(row.get()));
            Value shown = cell ? cell->displayedValue() : Value();
            section.rows.push_back({ titleOf(*row), kindOf(*row), shown.isString() ? shown.string() : std::string() });
        }
        described.sections.push_back(std::move(section));
    }
    return described;
}

PSListController* SettingsDriver::follow(PSListController* page, const std::string& link)
{
    if (!page)
        return nullptr;
    for (auto& group : page->groups()) {
        for (auto& row : group.rows) {
            if (opensPage(*row) && titleOf(*row) == link)
                return tapRow({ page, row.get() }) ? topPage() : nullptr;
        }
    }
    return nullptr;
}

Result<PSListController*> SettingsDriver::openPath(const std::vector<std::string>& path)
{
    auto page = openRoot();
    if (!page)
        return page.error();
    PSListController* current = page.value();
    for (auto& link : path) {
        PSListController* next = follow(current, link);
        if (!next || next == current)
            return Error { "the page " + link + " cannot be opened" };
        current = next;
    }
    return current;
}

// Pages are visited nearest first, each opened afresh from the first page,
// as a user would go back and forth.
Result<SettingsDriver::Found> SettingsDriver::find(
    const Match& match, const std::string& description, const std::string& pageTitle)
{
    struct Hit {
        std::vector<std::string> path;
        std::string page;
    };
    std::vector<Hit> hits;
    std::vector<std::string> visited;
    std::deque<std::vector<std::string>> queue { {} };
    while (!queue.empty()) {
        auto path = queue.front();
        queue.pop_front();
        auto opened = openPath(path);
        if (!opened)
            return opened.error();
        PSListController* current = opened.value();
        std::string title = current->title().isString() ? current->title().string() : std::string();
        visited.push_back(title);
        bool wanted = pageTitle.empty() || lowered(pageTitle) == lowered(title);
        for (auto& group : current->groups()) {
            for (auto& row : group.rows) {
                if (wanted && match(*row))
                    hits.push_back({ path, title });
                if (opensPage(*row) && path.size() + 1 < deepestPage) {
                    auto next = path;
                    next.push_back(titleOf(*row));
                    queue.push_back(std::move(next));
                }
            }
        }
    }
    if (hits.empty()) {
        std::string pages;
        for (auto& title : visited)
            pages += (pages.empty() ? "" : ", ") + title;
        return Error { "no " + description + (pageTitle.empty() ? "" : " on the page " + pageTitle)
            + " (pages: " + pages + ")" };
    }
    if (hits.size() > 1) {
        std::string pages;
        for (auto& hit : hits)
            pages += (pages.empty() ? "" : ", ") + hit.page;
        return Error { "more than one " + description + " (on " + pages + "); name the page with --page" };
    }
    auto opened = openPath(hits.front().path);
    if (!opened)
        return opened.error();
    for (auto& group : opened.value()->groups()) {
        for (auto& row : group.rows) {
            if (match(*row))
                return Found { opened.value(), row.get() };
        }
    }
    return Error { "the " + description + " went away" };
}

Result<PSListController*> SettingsDriver::openPage(const std::string& title)
{
    // The first page by its own title.
    auto root = openRoot();
    if (!root)
        return root.error();
    Value rootTitle = root.value()->title();
    if (rootTitle.isString() && lowered(rootTitle.string()) == lowered(title))
        return root;
    auto found = find([&](PSSpecifier& row) { return opensPage(row) && lowered(titleOf(row)) == lowered(title); },
        "page titled \"" + title + "\"", {});
    if (!found)
        return found.error();
    if (auto tapped = tapRow(found.value()); !tapped)
        return tapped.error();
    auto* page = topPage();
    if (!page || page == found->page)
        return Error { "the page " + title + " did not open" };
    return page;
}

Result<std::string> SettingsDriver::set(const std::string& title, const std::string& text, const std::string& pageTitle)
{
    auto found = find([&](PSSpecifier& row) { return isValueRow(row) && lowered(titleOf(row)) == lowered(title); },
        "setting titled \"" + title + "\"", pageTitle);
    if (!found)
        return found.error();
    auto [page, row] = found.value();
    Ref<PSSpecifier> keep(row);
    auto* cell = page->cellFor(row);
    m_settingsErrors->clear();
    switch (row->cellType()) {
    case PSSpecifier::SwitchCell: {
        auto on = parseSwitch(text);
        if (!on)
            return Error { title + " is a switch: say on or off, not \"" + text + "\"" };
        auto* control = dynamic_cast<preferences::PSSwitchTableCell*>(cell);
        if (!control || !control->control())
            return Error { title + " shows no switch" };
        auto* toggle = control->control();
        if (toggle->isOn() != *on && (!touch(*page, *toggle) || toggle->isOn() != *on))
            return Error { title + " cannot be changed now" };
        break;
    }
    case PSSpecifier::SliderCell: {
        auto* control = dynamic_cast<preferences::PSSliderTableCell*>(cell);
        if (!control || !control->control())
            return Error { title + " shows no slider" };
        auto number = parseNumber(text);
        double lowest = control->control()->minimumValue();
        double highest = control->control()->maximumValue();
        if (!number || *number < lowest || *number > highest)
            return Error { title + " takes a number from " + preferences::formatNumber(lowest) + " to "
                + preferences::formatNumber(highest) + ", not \"" + text + "\"" };
        if (control->snapped(*number) != *number)
            return Error { title + " moves in steps; " + text + " is not one of them (the nearest is "
                + preferences::formatNumber(control->snapped(*number)) + ")" };
        control->control()->slide(*number);
        break;
    }
    case PSSpecifier::SegmentCell: {
        auto index = choiceIndex(*row, text);
        auto* control = dynamic_cast<preferences::PSSegmentTableCell*>(cell);
        if (!index)
            return Error { title + " is one of: " + choicesOf(*row) + "; not \"" + text + "\"" };
        auto* segments = control ? control->control() : nullptr;
        if (!segments || *index >= segments->numberOfSegments())
            return Error { title + " cannot be changed now" };
        auto area = segments->bounds();
        double width = area.width() / static_cast<double>(segments->numberOfSegments());
        uikit::Point middle { area.minX() + width * (static_cast<double>(*index) + 0.5),
            area.minY() + area.height() / 2 };
        if (!touch(*page, *segments, middle) || segments->selectedSegmentIndex() != static_cast<int64_t>(*index))
            return Error { title + " cannot be changed now" };
        break;
    }
    default: {
        auto index = choiceIndex(*row, text);
        if (!index)
            return Error { title + " is one of: " + choicesOf(*row) + "; not \"" + text + "\"" };
        if (auto tapped = tapRow(found.value()); !tapped)
            return tapped.error();
        auto* list = dynamic_cast<preferences::PSListItemsController*>(topPage());
        if (!list || !list->chooseTitled(row->titles()[*index].string()))
            return Error { "the choices of " + title + " did not open" };
        preferences::SettingsApp::of(*settingsProcess()).goBack();
        break;
    }
    }
    if (!settle())
        return Error { "the device did not settle after changing " + title };
    // The Settings app reports a change it could not store (a full disk, a domain it cannot read) on the trace.
    if (!m_settingsErrors->empty())
        return Error { title + " was not changed: " + m_settingsErrors->front() };
    auto* shown = dynamic_cast<preferences::PSTableCell*>(page->cellFor(row));
    Value value = shown ? shown->displayedValue() : Value();
    return value.isString() ? value.string() : std::string();
}

bool SettingsDriver::touch(PSListController& page, uikit::UIView& view, std::optional<uikit::Point> point)
{
    auto* process = settingsProcess();
    auto* table = page.table();
    if (!process || !table)
        return false;
    auto area = view.bounds();
    uikit::Point at = point.value_or(uikit::Point { area.minX() + area.width() / 2, area.minY() + area.height() / 2 });
    // Scrolled as a person would before tapping: the view whole on the page, if it fits.
    double top = view.convertPointTo({ area.minX(), area.minY() }, table).y;
    double bottom = top + area.height();
    auto shown = table->bounds();
    if (bottom > shown.maxY())
        table->setContentOffset({ table->contentOffset().x, bottom - shown.height() });
    if (top < table->bounds().minY())
        table->setContentOffset({ table->contentOffset().x, top });
    uikit::Point onScreen = view.pointOnScreen(at);
    auto& delivery = uikit::TouchDelivery::of(*process);
    auto* hit = delivery.viewAt(onScreen);
    while (hit && hit != &view)
        hit = hit->superview();
    if (!hit)
        return false;
    delivery.deliver(0, onScreen, uikit::UITouch::Began);
    delivery.deliver(0, onScreen, uikit::UITouch::Ended);
    return true;
}

Result<SettingsDriver::Outcome> SettingsDriver::tapRow(Found found)
{
    auto place = found.page->rowOf(found.row);
    if (!place)
        return Error { "the row " + titleOf(*found.row) + " is not on its page" };
    auto* cell = found.page->table()->cell(place->first, place->second);
    size_t first = m_device->trace().events().size();
    if (!cell || !touch(*found.page, *cell))
        return Error { "the row " + titleOf(*found.row) + " cannot be tapped now" };
    if (!settle())
        return Error { "the device did not settle after the tap on " + titleOf(*found.row) };
    auto outcome = report(first);
    // A row that opens a page says which; one that did nothing says so.
    PSListController* shown = topPage();
    if (shown && shown != found.page) {
        Value title = shown->title();
        outcome.lines.insert(outcome.lines.begin(),
            "Opened the page " + (title.isString() && !title.string().empty() ? title.string() : titleOf(*found.row))
                + ".");
    } else if (auto* alert = alertOver(found.page)) {
        outcome.lines.insert(outcome.lines.begin(), alert->title().string() + " asks: " + alert->message().string());
    } else if (outcome.lines.empty()) {
        outcome.lines.push_back("Tapped " + titleOf(*found.row) + "; nothing else happened.");
    }
    return outcome;
}

Result<SettingsDriver::Outcome> SettingsDriver::pressBarButton(const std::string& title, bool confirm)
{
    PSListController* page = topPage();
    auto* process = settingsProcess();
    auto* bar = process ? preferences::SettingsApp::of(*process).rootController()->navigationBar() : nullptr;
    auto* item = bar ? bar->topItem() : nullptr;
    auto* button = item ? item->rightBarButtonItem() : nullptr;
    if (!button || !button->title().isString() || lowered(button->title().string()) != lowered(title))
        return Error { "the page has no button titled \"" + title + "\"" };
    size_t first = m_device->trace().events().size();
    button->press();
    if (!settle())
        return Error { "the device did not settle after the tap on " + title };
    Outcome outcome;
    auto* alert = alertOver(page);
    if (alert) {
        outcome.lines.push_back(alert->title().string() + " asks: " + alert->message().string());
        std::optional<size_t> chosen;
        for (size_t index = 0; index < alert->actions().size(); ++index) {
            bool cancels = alert->actions()[index]->style() == uikit::UIAlertAction::Cancel;
            if (cancels != confirm && !chosen)
                chosen = index;
        }
        if (chosen) {
            outcome.lines.push_back("Chose " + alert->actions()[*chosen]->title().string() + ".");
            alert->chooseAction(*chosen);
        }
        if (!settle())
            return Error { "the device did not settle after the alert" };
        if (!confirm) {
            outcome.lines.push_back("Nothing was done; add --yes to confirm.");
            outcome.done = false;
        }
    }
    auto reported = report(first);
    outcome.lines.insert(outcome.lines.end(), reported.lines.begin(), reported.lines.end());
    return outcome;
}

Result<SettingsDriver::Outcome> SettingsDriver::tap(
    const std::string& title, bool confirm, const std::string& pageTitle)
{
    auto found = find(
        [&](PSSpecifier& row) {
            auto type = row.cellType();
            return (type == PSSpecifier::ButtonCell || type == PSSpecifier::LinkCell)
                && lowered(titleOf(row)) == lowered(title);
        },
        "button titled \"" + title + "\"", pageTitle);
    if (found)
        return tapRow(found.value());
    // Not a row: perhaps the first page's bar button.
    auto root = openRoot();
    if (!root)
        return root.error();
    auto pressed = pressBarButton(title, confirm);
    if (pressed)
        return pressed;
    return found.error();
}

Result<SettingsDriver::Outcome> SettingsDriver::performAction(const std::string& action)
{
    auto found = find(
        [&](PSSpecifier& row) {
            return row.cellType() == PSSpecifier::ButtonCell && row.buttonAction().name() == action;
        },
        "button with the action " + action, {});
    if (!found)
        return found.error();
    return tapRow(found.value());
}

Result<SettingsDriver::Outcome> SettingsDriver::respring()
{
    auto root = openRoot();
    if (!root)
        return root.error();
    auto* right = root.value()->navigationItem()->rightBarButtonItem();
    if (!right || !right->title().isString())
        return Error { std::string(entryLabel) + "'s first page has no respring button" };
    return pressBarButton(right->title().string(), true);
}

SettingsDriver::Outcome SettingsDriver::report(size_t firstEvent) const
{
    Outcome outcome;
    auto& events = m_device->trace().events();
    bool restarted = false;
    for (size_t index = firstEvent; index < events.size(); ++index) {
        auto& event = events[index];
        std::string type = event.value("type", "");
        if (type == "distributed.posted" && event.value("name", "") == "com.mavrel.brix.receivedbannertest")
            outcome.lines.push_back("Asked the home screen for a test banner.");
        else if (type == "bulletin.published")
            outcome.lines.push_back("The home screen published \"" + event.value("title", "") + "\": \""
                + event.value("message", "") + "\".");
        else if (type == "command.launched") {
            std::string line = "Ran " + event.value("path", "");
            for (auto& argument : event["arguments"])
                line += " " + argument.get<std::string>();
            outcome.lines.push_back(line + ".");
        } else if (type == "command.failed")
            outcome.lines.push_back("Could not run a command: " + event.value("reason", "") + ".");
        else if (type == "process.launched" && event.value("bundleId", "") == apps::homeScreen)
            restarted = true;
        else if (type == "preferences.changed" && event.value("domain", "") == "com.ostwyn.brixprefs")
            outcome.lines.push_back("The settings changed.");
        else if (type == "settings.error" || type == "bundle.error")
            outcome.lines.push_back("The Settings app reports: " + event.value("message", "") + ".");
    }
    if (restarted)
        outcome.lines.push_back("The home screen restarted.");
    if (auto* home = m_device->process(apps::homeScreen)) {
        auto* banner = springboard::BannerPresenter::of(*home).currentBanner();
        bool published = std::any_of(outcome.lines.begin(), outcome.lines.end(),
            [](auto& line) { return line.starts_with("The home screen published"); });
        if (published && banner)
            outcome.lines.push_back(runtime::sendIfResponds<Ref<runtime::Object>>(banner, SEL("brixView"))
                    ? "A Brix banner shows on the home screen."
                    : "A banner shows on the home screen.");
    }
    return outcome;
}

} // namespace tools
