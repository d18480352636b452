#include "tools/brix/Completion.h"

#include <sstream>

namespace tools {

namespace {

    struct Level {
        std::string path; // "prefs/set" for `brix prefs set`
        std::vector<std::string> words; // sub-commands and options
        std::vector<std::string> valued; // options that take a value
        bool positionals { false };
    };

    std::string joined(const std::vector<std::string>& words)
    {
        std::string text;
        for (auto& word : words)
            text += (text.empty() ? "" : " ") + word;
        return text;
    }

    void collect(const CLI::App& app, const std::string& path, std::vector<Level>& levels)
    {
        Level level { path, {}, {}, false };
        auto subcommands = app.get_subcommands([](const CLI::App*) { return true; });
        for (auto* subcommand : subcommands)
            level.words.push_back(subcommand->get_name());
        for (auto* option : app.get_options()) {
            if (option->get_group().empty())
                continue;
            if (!option->nonpositional()) {
                level.positionals = true;
                continue;
            }
            std::vector<std::string> names;
            for (auto& name : option->get_snames())
                names.push_back("-" + name);
            for (auto& name : option->get_lnames())
                names.push_back("--" + name);
            level.words.insert(level.words.end(), names.begin(), names.end());
            if (option->get_expected_min() > 0)
                level.valued.insert(level.valued.end(), names.begin(), names.end());
        }
        levels.push_back(level);
        for (auto* subcommand : subcommands)
            collect(*subcommand, path.empty() ? subcommand->get_name() : path + "/" + subcommand->get_name(), levels);
    }

} // namespace

std::string bashCompletion(const CLI::App& app)
{
    std::vector<Level> levels;
    collect(app, "", levels);
    auto name = app.get_name();

    std::ostringstream script;
    script << "# bash completion for " << name << "; written by `" << name << " --bash-completion`\n"
           << "_" << name << "()\n{\n"
           << "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           << "    local command='' word i words valued positionals=0\n"
           << "    # The sub-commands typed so far, as a path: prefs/set.\n"
           << "    for ((i = 1; i < COMP_CWORD; i++)); do\n"
           << "        word=${COMP_WORDS[i]}\n"
           << "        case \"$command/$word\" in\n";
    for (auto& level : levels) {
        if (level.path.empty())
            continue;
        auto slash = level.path.rfind('/');
        auto pattern = slash == std::string::npos ? "/" + level.path : level.path;
        script << "        '" << pattern << "') command=" << level.path << " ;;\n";
    }
    script << "        esac\n    done\n"
           << "    case $command in\n";
    for (auto& level : levels) {
        script << "    '" << level.path << "') words='" << joined(level.words) << "' valued='" << joined(level.valued)
               << "' positionals=" << (level.positionals ? 1 : 0) << " ;;\n";
    }
    script << "    esac\n"
           << "    if [[ -n $prev && \" $valued \" == *\" $prev \"* ]]; then\n"
           << "        mapfile -t COMPREPLY < <(compgen -f -- \"$cur\")\n"
           << "        return\n"
           << "    fi\n"
           << "    mapfile -t COMPREPLY < <(compgen -W \"$words\" -- \"$cur\")\n"
           << "    if ((positionals)) && [[ $cur != -* ]]; then\n"
           << "        mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -f -- \"$cur\")\n"
           << "    fi\n"
           << "}\n"
           << "complete -o filenames -F _" << name << " " << name << "\n";
    return script.str();
}

} // namespace tools
