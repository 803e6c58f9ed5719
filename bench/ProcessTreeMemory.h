#pragma once
// The proportional memory (PSS) of a process and of every process below it, in KiB: what a
// program with a browser really costs, its web and network processes included.
struct TreePss {
    long own = 0;
    long descendants = 0;
    long Total() const { return own + descendants; }
};

TreePss ProcessTreePssKiB(int pid);
