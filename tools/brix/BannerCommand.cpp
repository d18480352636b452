#include <iostream>

#include "tools/brix/BannerDrawing.h"
#include "tools/brix/Commands.h"

namespace tools {

namespace {

    void renderBanner(const BannerOptions& options)
    {
        DrawnBanner drawn;
        try {
            drawn = drawBanner(options, options.out);
        } catch (const BannerOptionError& error) {
            failUsage(error.what());
        }
        if (!drawn.drawn) {
            std::cerr << "brix: " << drawn.failure << "\n";
            throw CLI::RuntimeError(1);
        }
        if (options.json)
            std::cout << drawn.banner.dump(2) << "\n";
    }

} // namespace

void addBannerCommand(CLI::App& app)
{
    auto options = std::make_shared<BannerOptions>();
    auto* command = app.add_subcommand("banner", "Draw one Brix banner as the simulated screen shows it");
    command->add_option("--header", options->header, "the notification's title");
    command->add_option("--subheader", options->subheader, "the notification's subtitle");
    command->add_option("--body", options->body, "the notification's message");
    command->add_option("--app", options->app, "the sending app's bundle identifier")->capture_default_str();
    command->add_option("--icon", options->icon, "PNG or JPEG: the notification's icon");
    command->add_option("--app-icon", options->appIcon, "PNG or JPEG: the app's icon on the home screen");
    command->add_option("--picture", options->picture, "PNG or JPEG handed to the banner as the sender's picture");
    command->add_option("--out", options->out, "the PNG to write")->capture_default_str();
    command->add_flag("--tiny", options->tiny, "the tiny banner");
    command->add_option("--mode", options->mode, "colours: 0 follow the system, 1 dark, 2 light, 3 opaque")
        ->check(CLI::Range(0, 3));
    command->add_option("--style", options->style, "the system's interface style")
        ->check(CLI::IsMember({ "light", "dark" }))
        ->capture_default_str();
    command->add_option("--lines", options->lines, "maximum lines of the body")->check(CLI::Range(0, 100));
    command->add_flag("--expanded", options->expanded, "drag the banner open");
    command->add_flag("--buttons", options->buttons, "show the buttons");
    command->add_flag("--alarm", options->alarm, "an alarm of the clock app");
    command->add_flag("--snoozable", options->snoozable, "the alarm can be snoozed");
    command->add_flag("--can-reply", options->canReply, "the notification has a reply action");
    command->add_flag("--privacy", options->privacy, "hide the content until the banner is expanded");
    command->add_flag("--no-statusbar", options->noStatusbar, "no clock line");
    auto* clock24 = command->add_flag("--24h", options->clock24, "24-hour clock");
    command->add_flag("--12h", options->clock12, "12-hour clock")->excludes(clock24);
    command->add_option("--font-size", options->fontSizes, "header=N, text=N, statusbar=N or tiny=N (repeatable)");
    command->add_option("--set", options->settings, "any preference KEY=VALUE (repeatable; see brix prefs list)");
    command->add_option("--system-version", options->systemVersion, "the system version")->capture_default_str();
    command->add_option("--screen", options->screen, "screen size in points, e.g. 390x844");
    command->add_flag("--json", options->json, "print the banner's inspected state");
    command->footer("Examples:\n"
                    "  brix banner --header Alice --body \"Hi there\" --app net.whatsapp.WhatsApp --out banner.png\n"
                    "  brix banner --alarm --snoozable --style dark --json\n"
                    "Exit status: 0 when the banner was drawn, 1 when it could not be, 2 for bad options.");
    command->callback([options] { renderBanner(*options); });
}

} // namespace tools
