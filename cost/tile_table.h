#pragma once
// Logical cost model of a circuit under an error-correcting code: per-tile operation and cycle
// counts, precomputed for one machine description and one concatenation level.

#include <list>
#include <map>
#include <string>
#include <utility>

#include "circuit/gate.h"

/// The 18 tile operations; the numbering is fixed because lookups compute keys arithmetically.
enum tileGate2D : int {
    tgRxOdd = 0,
    tgRxHalf = 1,
    tgRxPi = 2,
    tgRyOdd = 3,
    tgRyHalf = 4,
    tgRyPi = 5,
    tgRzOdd = 6,
    tgRzHalf = 7,
    tgRzPi = 8,
    tgH = 9,
    tgHCNOT = 10,
    tgVCNOT = 11,
    tgHCZ = 12,
    tgVCZ = 13,
    tgHGeo = 14,
    tgVGeo = 15,
    tgHSWAP = 16,
    tgVSWAP = 17
};

/// One value per code slot 0, 1, 2.
struct triple {
    double v[3] = {0.0, 0.0, 0.0};
};

class tileTable {
  public:
    std::map<tileGate2D, triple> ops_table;
    std::map<tileGate2D, triple> cyc_table;
    PMD_type pmd = CTL;
    int level = 0;
    std::map<int, std::pair<int, int>> layout;  // line -> (column, row)

    tileTable() = default;
    /// \brief Reads the layout file (one grid row per text line, names separated by white space;
    /// blank lines count as rows) and fills both tables for codes 0, 1, 2 (one-qubit keys) and
    /// 0, 1, 3 (two-qubit keys). A missing file or a name count that differs from the circuit's
    /// ends the program (status 1).
    tileTable(std::map<std::string, int> qubit_line, PMD_type pmd, int level,
              std::string layout_file);
    virtual ~tileTable() = default;

    /// \brief Logical count of one gate: cycles == 0 selects operations, otherwise cycles.
    /// `code` picks slot 0, 1 or 2; `angle` in π/4 (one turn is taken off once above 8 and once
    /// below -8). Rotations by 0 and markers cost 0; a kind or angle without a key ends the
    /// program (status 1). Two table lookups.
    double getOpsCyc(qecCode code, Gate_type type, double angle, int control, int target,
                     int cycles) const;
    /// \brief Logical operation count of a line copy.
    double getLineOpsCost(std::list<Gate>& gates, qecCode code) const;
    /// \brief Logical operations (cycles == 0) or cycles of the window [from, to) of a line copy.
    double getWindowOpsCycCost(std::list<Gate>& gates, qecCode code, int from, int to,
                               int cycles) const;

  private:
    /// Fills `layout` from the layout file; `qubit_line` grows by the unknown names.
    void read_layout(std::map<std::string, int>& qubit_line, const std::string& layout_file);
    /// Grid position of a line; (0, 0) for a line the layout does not place.
    std::pair<int, int> position(int line) const;
    /// True when the two lines sit in neighbouring columns of the same row.
    bool horizontal(int control, int target) const;
};
