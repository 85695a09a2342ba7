#include "FaultTolerant/tavex/tavex.h"

std::string print_gate(int) {
    return "";
}

Tavex::Tavex(int max_unique, int max_length) : max_unique(max_unique), max_length(max_length) {}
Tavex::~Tavex() = default;

std::string Tavex::ft_tavex(MtxTavex, double) {
    return "";
}
