#include "ProcessTreeMemory.h"

#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

long PssOf(int pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {
        if (line.rfind("Pss:", 0) == 0) return std::stol(line.substr(4));
    }
    return 0;
}

// Every process's parent, read from /proc.
std::multimap<int, int> ChildrenByParent() {
    std::multimap<int, int> children;
    DIR* proc = opendir("/proc");
    if (proc == nullptr) return children;
    while (const dirent* entry = readdir(proc)) {
        const std::string pid = entry->d_name;
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        std::ifstream stat("/proc/" + pid + "/stat");
        std::string text;
        std::getline(stat, text);
        const std::size_t close = text.rfind(')');
        char state = 0;
        int parent = 0;
        if (close != std::string::npos && std::sscanf(text.c_str() + close + 1, " %c %d", &state, &parent) == 2) {
            children.emplace(parent, std::stoi(pid));
        }
    }
    closedir(proc);
    return children;
}

}  // namespace

TreePss ProcessTreePssKiB(int pid) {
    TreePss total;
    total.own = PssOf(pid);
    const std::multimap<int, int> children = ChildrenByParent();
    std::vector<int> pending = {pid};
    while (!pending.empty()) {
        const int parent = pending.back();
        pending.pop_back();
        const auto [begin, end] = children.equal_range(parent);
        for (auto it = begin; it != end; ++it) {
            total.descendants += PssOf(it->second);
            pending.push_back(it->second);
        }
    }
    return total;
}
