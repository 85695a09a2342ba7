#pragma once
// The stored remainders of the meet-in-the-middle search, grouped by product length and ordered by
// their distance to the target.

#include <map>
#include <vector>

#include "FaultTolerant/matrix/matrix2.h"

/// A remainder R = target x P^-1 of a recorded product P.
struct MatrixItem {
    Matrix2 matrix;
    double distance;  // md_tri(R, target)
    int index;        // position of P in the list of unique products
    int length;       // number of labels of P

    MatrixItem(Matrix2& matrix, double distance, int index, int length)
        : matrix(matrix), distance(distance), index(index), length(length) {}
};

/// An ordered map from length to a multimap from distance to MatrixItem (equal distances keep
/// their order of insertion).
class BinSet {
  public:
    /// \brief Adds a remainder under key `distance` to the bin of its `length`.
    void insert(double distance, Matrix2 matrix, int index, int length);
    /// \brief Looks for a remainder within `limit` of `q` (md_tri), where `dq` is q's distance to
    /// the target. Scans the bins by increasing length and, in each bin, the items with key in
    /// [dq - limit, dq + limit] by increasing key; the first close item wins: `out` receives its
    /// distance to `q` and the result is its index. Without such an item the result is -1.
    int contains(Matrix2 q, double dq, double limit, double& out) const;
    /// \brief Removes every bin whose length is less than `length`.
    void delete_short_sequences(int length);
    /// \brief Number of bins (one per length present).
    int num_bins() const { return static_cast<int>(bins.size()); }
    /// \brief Number of stored remainders.
    long size() const;

  private:
    // One bin. Items live in arrays sorted by key (stable: equal keys in insertion order), which
    // the meeting test scans; new items wait in a small multimap until it is merged in, so
    // insertion stays cheap while the bins grow. Every pending item was inserted after every
    // sorted one.
    //
    // Each sorted item also keeps its distance to a fixed reference matrix: by the triangle
    // inequality an item can be within the limit of Q only if that distance is within the limit
    // (plus a margin for rounding) of Q's own, which skips most items without a matrix product.
    //
    // A bucket table over the key range replaces the binary search: start[b] is the first sorted
    // item whose bucket is b or higher, and bucket() is monotone in the key, so every item before
    // start[bucket(x)] has a key below x.
    struct Bin {
        std::vector<double> keys;
        std::vector<double> ref_keys;  // md_tri(item, reference), a second filter
        std::vector<MatrixItem> items;
        std::multimap<double, MatrixItem> pending;
        double key_min = 0.0;
        double scale = 0.0;
        std::vector<int> start;

        void merge_pending();
        int bucket(double key) const;
        /// First sorted item with key >= x (as std::lower_bound on keys).
        size_t lower_bound(double x) const;
    };
    std::map<int, Bin> bins;
};
