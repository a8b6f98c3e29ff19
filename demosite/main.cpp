// demosite: the stand-in game site on loopback.
#include "demosite/httputil.h"
#include "demosite/site.h"

#include <cstdio>
#include <iostream>

namespace {

const char *const kUsage =
    "usage: demosite [--seed N] [--top-port P] [--world-port P] [--world N] [--members N] [--auto-login] "
    "[--help]\n"
    "  --seed N        world seed (default 1)\n"
    "  --top-port P    port of the public top site (default " OVEK_DEMO_TOP_PORT_TEXT ", 0 = any free port)\n"
    "  --world-port P  port of the world server (default " OVEK_DEMO_WORLD_PORT_TEXT ", 0 = any free port)\n"
    "  --world N       the world number the world server is (default 3, 1 to 999)\n"
    "  --members N     size of the player's own alliance (default 30, 1 to 1000)\n"
    "  --auto-login    the login entry logs in at once\n";

bool numberArgument(int argc, char **argv, int &i, long long low, long long high, long long &value)
{
    if (i + 1 >= argc || !httputil::parseInt(argv[i + 1], value) || value < low || value > high) {
        std::cerr << "demosite: " << argv[i] << " needs a number from " << low << " to " << high << "\n";
        return false;
    }
    ++i;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    SiteOptions options;
    options.topPort = OVEK_DEMO_TOP_PORT;
    options.worldPort = OVEK_DEMO_WORLD_PORT;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        long long value = 0;
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            return 0;
        } else if (option == "--auto-login") {
            options.autoLogin = true;
        } else if (option == "--seed") {
            if (!numberArgument(argc, argv, i, 0, 9007199254740991LL, value))
                return 2;
            options.seed = static_cast<std::uint64_t>(value);
        } else if (option == "--top-port" || option == "--world-port") {
            if (!numberArgument(argc, argv, i, 0, 65535, value))
                return 2;
            (option == "--top-port" ? options.topPort : options.worldPort) = static_cast<int>(value);
        } else if (option == "--world") {
            if (!numberArgument(argc, argv, i, 1, 999, value))
                return 2;
            options.world = static_cast<int>(value);
        } else if (option == "--members") {
            // Bounded so the names of the world stay unique.
            if (!numberArgument(argc, argv, i, 1, 1000, value))
                return 2;
            options.members = static_cast<int>(value);
        } else {
            std::cerr << "demosite: unknown option " << option << "\n" << kUsage;
            return 2;
        }
    }
    DemoSite site(options);
    std::string error;
    if (!site.start(error)) {
        std::cerr << "demosite: " << error << "\n";
        return 1;
    }
    std::cout << "demosite ready top=" << site.topPort() << " world=" << site.worldPort() << std::endl;
    site.wait();
    return 0;
}
