#include "app/process_stats.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace qasp::app {

double ProcessAgeMs()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    // The fields after the command name, which is in parentheses.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    for (int i = 3; i <= 22 && fields >> field; ++i) {}
    const double startTicks = std::atof(field.c_str());
    double uptime = 0;
    std::ifstream("/proc/uptime") >> uptime;
    return uptime * 1000.0 - startTicks * 1000.0 / sysconf(_SC_CLK_TCK);
}

long ResidentKiB()
{
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

}  // namespace qasp::app
