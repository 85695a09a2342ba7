#pragma once
// The stored remainders of the meet-in-the-middle search, grouped by product length and ordered by
// their distance to the target.

#include <map>

#include "FaultTolerant/tavex/mtx_tavex.h"

/// A remainder R = target x P^-1 of a recorded product P.
struct MatrixItem {
    MtxTavex matrix;
    double distance;  // md_tri(R, target)
    int index;        // position of P in the list of unique products
    int length;       // number of labels of P

    MatrixItem(MtxTavex& matrix, double distance, int index, int length)
        : matrix(matrix), distance(distance), index(index), length(length) {}
};

class BinSet {
  public:
    /// \brief Adds a remainder under key `distance` to the bin of its `length`.
    void insert(double distance, MtxTavex matrix, int index, int length);
    /// \brief Looks for a remainder within `limit` of `q` (md_tri), where `dq` is q's distance to
    /// the target. Scans the bins by increasing length and, in each bin, the items with key in
    /// [dq - limit, dq + limit] by increasing key; the first close item wins: `out` receives its
    /// distance to `q` and the result is its index. Without such an item the result is -1.
    int contains(MtxTavex q, double dq, double limit, double& out) const;
    /// \brief Removes every bin whose length is less than `length`.
    void delete_short_sequences(int length);
    /// \brief Number of bins (one per length present).
    int num_bins() const { return static_cast<int>(bins.size()); }

  private:
    std::map<int, std::multimap<double, MatrixItem>> bins;
};
