#pragma once

#include <atomic>
#include <cstdint>

// One count in the busy counter for as long as it lives: a command that must not run beside the
// duplicate search holds one from its start to its end, whatever way it ends.
class TOccupation {
public:
    explicit TOccupation(std::atomic<int32_t>& compteur) : occupe(compteur) { ++occupe; }
    ~TOccupation() { --occupe; }
    TOccupation(const TOccupation&) = delete;
    TOccupation& operator=(const TOccupation&) = delete;

private:
    std::atomic<int32_t>& occupe;
};
