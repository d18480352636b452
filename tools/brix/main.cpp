#include <CLI/CLI.hpp>
#include <iostream>

#include "tools/brix/Commands.h"

int main(int argc, char** argv)
{
    CLI::App app { "brix: the simulated device for the Brix notification banners" };
    app.require_subcommand(1);
    tools::addBannerCommand(app);
    tools::addDemoCommand(app);
    tools::addHooksCommand(app);
    tools::addPrefsCommand(app);
    tools::addRunCommand(app);
    tools::addSettingsCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& error) {
        // A command that ran and failed says how.
        return error.get_exit_code();
    } catch (const CLI::ParseError& error) {
        // Usage errors exit with 2, as every other bad input does.
        int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    return 0;
}
