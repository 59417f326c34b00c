// wbx4100-sim: a WBX4100 controller on a pseudo-terminal, for trying the utility without
// the device. Prints "COMn -> /dev/pts/K" once serving; SIGINT or SIGTERM ends it cleanly.
#include <csignal>
#include <cstdio>
#include <exception>
#include <iostream>
#include <pthread.h>

#include "ScenarioCycle.h"
#include "SimOptions.h"
#include "ports/PortDirectory.h"

int main(int argc, char** argv) {
    const std::string program = argc > 0 ? argv[0] : "wbx4100-sim";
    TSimProgramOptions options = DefaultSimProgramOptions();
    std::string error;
    if (!ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << program << ": " << error << "\n" << SimUsage(program);
        return 2;
    }
    if (options.Help) {
        std::cout << SimUsage(program);
        return 0;
    }
    // Block the ending signals before the serving thread starts, so they reach sigwait here.
    sigset_t endSignals;
    sigemptyset(&endSignals);
    sigaddset(&endSignals, SIGINT);
    sigaddset(&endSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &endSignals, nullptr);

    const std::string directory =
        options.PortDirectory.empty() ? PortDirectory() : options.PortDirectory;
    try {
        TWbxSimulator simulator(options.Config);
        if (!options.RecordPath.empty()) {
            simulator.RecordTo(options.RecordPath);
        }
        simulator.Start(directory, options.Port);
        std::cout << simulator.PortName() << " -> " << simulator.SlavePath() << std::endl;
        TScenarioCycle cycle(simulator, SoakCycle());
        if (options.Cycle) {
            cycle.Start();
        }
        int signal = 0;
        sigwait(&endSignals, &signal);
        cycle.Stop();
        simulator.Stop();
    } catch (const std::exception& e) {
        std::cerr << program << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
