// nivra-card: reads a camera's recording directory from the terminal.
#include "cli.h"
#include "commands.h"
#include "utf8_args.h"

#include <stdio.h>
#include <string.h>

using namespace nivracard;

namespace {

// Every sub-command; a new source file of commands adds its table here.
std::vector<Command> all_commands()
{
    std::vector<Command> all;
    for (std::vector<Command> table : {
             card_commands(),
             export_commands(),
             events_export_commands(),
             activity_commands(),
         })
        all.insert(all.end(), table.begin(), table.end());
    return all;
}

int usage(const std::vector<Command> &commands, FILE *out)
{
    fprintf(out, "usage: nivra-card COMMAND DIR [options]\n\n");
    for (const Command &c : commands)
        fprintf(out, "  nivra-card %s\n      %s\n", c.usage, c.summary);
    fprintf(out, "\nWith --json each command prints one JSON object. The exit status is 0 when\n"
                 "the result code is 0 or 1, 3 when an export wrote files but not all it planned\n"
                 "(damaged frames, or recordings it could not read: listed as \"lost\"), else 2.\n");
    return out == stderr ? 2 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    Utf8Args utf8(argc, argv);
    argc = utf8.argc();
    argv = utf8.argv();

    const std::vector<Command> commands = all_commands();
    if (argc < 2)
        return usage(commands, stderr);
    if (!strcmp(argv[1], "--help") || !strcmp(argv[1], "-h") || !strcmp(argv[1], "help"))
        return usage(commands, stdout);
    for (const Command &c : commands) {
        if (strcmp(argv[1], c.name) != 0)
            continue;
        // Asking for help is a success, wherever the request stands.
        for (int i = 2; i < argc; ++i) {
            if (!strcmp(argv[i], "--help") || !strcmp(argv[i], "-h")) {
                printf("usage: nivra-card %s\n    %s\n", c.usage, c.summary);
                return 0;
            }
        }
        Args args;
        std::string error;
        if (!parse_args(c, argc, argv, 2, &args, &error)) {
            fprintf(stderr, "nivra-card %s: %s\nusage: nivra-card %s\n", c.name, error.c_str(), c.usage);
            return 2;
        }
        return c.run(args);
    }
    fprintf(stderr, "nivra-card: unknown command '%s'\n", argv[1]);
    return usage(commands, stderr);
}
