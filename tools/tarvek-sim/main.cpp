// tarvek-sim: the whole module racing in the simulated game. Plays the scripted scenarios and
// writes their transcript, key frames, contact sheet and race plots.
//
// Usage: tarvek-sim run [--scenario NAME|all] --out DIR [--server-binary PATH]
// Exit status: 0 when every scenario ran, 1 when one did not, 2 for a usage error.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>

#include "tools/tarvek-sim/sim_run.h"

int main(int argc, char** argv) {
    using namespace tarvek::simtool;
    CLI::App app{"tarvek-sim: the module racing in the simulated game"};
    app.require_subcommand(1);
    SimRunOptions options;
    CLI::App* run = app.add_subcommand("run", "Play scenarios; write the transcript, key frames and contact sheet");
    run->add_option("--scenario", options.scenario, "A scenario name, or all")->capture_default_str();
    run->add_option("--out", options.out, "Output directory")->required();
    run->add_option("--server-binary", options.serverBinary, "tarvek-catalog-server (default: beside this program)");
    int status = 0;
    run->callback([&] { status = runSimulation(options); });
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return 2;
    }
    return status;
}
