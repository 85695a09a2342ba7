// Placeholder until the tile table lands.
#include "cost/tile_table.h"

#include "circuit/fatal.h"

tileTable::tileTable(std::map<std::string, int>, PMD_type, int, std::string) {
    fatal_error("tileTable: not yet supported");
}
double tileTable::getOpsCyc(qecCode, Gate_type, double, int, int, int) const { return 0; }
double tileTable::getLineOpsCost(std::list<Gate>&, qecCode) const { return 0; }
double tileTable::getWindowOpsCycCost(std::list<Gate>&, qecCode, int, int, int) const { return 0; }
