// Placeholder until the sequence cache lands.
#include "FaultTolerant/ft_table.h"

void FT_table::set_FT_table() {}
void FT_table::insert_FT_table(double angle, double dist, std::string seq) {
    table[angle].push_back(FT_entry{dist, seq});
}
std::string FT_table::get_FT_seq(Gate_type, double, double) { return ""; }
