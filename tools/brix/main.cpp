#include <CLI/CLI.hpp>
#include <iostream>
#include <optional>

#include "tools/brix/Commands.h"
#include "tools/brix/Completion.h"
#include "tools/brix/TemporaryFolder.h"
#include "tools/brix/Version.h"

namespace {

// The first argument that is not an option names the sub-command: the tool's
// own options take no values.
std::optional<std::string> unknownCommand(const CLI::App& app, int argc, char** argv)
{
    for (int index = 1; index < argc; ++index) {
        std::string argument = argv[index];
        if (argument.starts_with("-"))
            continue;
        auto known = app.get_subcommands([&](const CLI::App* command) { return command->get_name() == argument; });
        if (known.empty())
            return argument;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App app { "brix: the simulated device for the Brix notification banners", "brix" };
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("brix ") + BRIX_VERSION);
    app.add_flag_callback("--bash-completion",
           [&app] {
               std::cout << tools::bashCompletion(app);
               throw CLI::Success();
           })
        ->group("");
    tools::addBannerCommand(app);
    tools::addDemoCommand(app);
    tools::addHooksCommand(app);
    tools::addPrefsCommand(app);
    tools::addRunCommand(app);
    tools::addSettingsCommand(app);
    tools::addStudioCommand(app);
    // Set after the commands are added, which would otherwise inherit it.
    app.footer("Run 'brix COMMAND --help' for a command's options and examples.\n"
               "Exit status: 0 success; 1 the command ran and failed (an expectation did not hold, a file could not "
               "be written, a page refused); 2 bad usage or unreadable input.");
    if (auto command = unknownCommand(app, argc, argv)) {
        std::cerr << "brix: unknown command '" << *command << "' (see: brix --help)\n";
        return 2;
    }
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& error) {
        // A command that ran and failed says how.
        return error.get_exit_code();
    } catch (const CLI::ParseError& error) {
        // Usage errors exit with 2, as every other bad input does.
        int code = app.exit(error);
        return code == 0 ? 0 : 2;
    } catch (const tools::TemporaryFolder::Unavailable& error) {
        std::cerr << "brix: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
