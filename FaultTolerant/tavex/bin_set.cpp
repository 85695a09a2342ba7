#include "FaultTolerant/tavex/bin_set.h"

#include <algorithm>
#include <cmath>

namespace {

// Pending items of one bin merged into its sorted arrays at this count: O(n) per merge.
constexpr size_t kMergeAt = 512;

// The reference matrix of the second filter: a rotation well away from the Clifford+T
// structure, cos(1) I - i sin(1) (0.48 X + 0.6 Y + 0.64 Z).
constexpr Matrix2 kReference = matrix2_of(
    {0.5403023058681398, -0.5385414302770538}, {-0.5048825908847379, -0.40390607270779033},
    {0.5048825908847379, -0.40390607270779033}, {0.5403023058681398, 0.5385414302770538});

// Rounding slack of the second filter: md_tri near 0 carries absolute errors of about 1e-7 for
// long products; the slack is far above that and far below any useful limit.
constexpr double kRefSlack = 1e-5;

// The smallest md for which md_to_tri(md) <= limit can hold, minus a margin far above rounding:
// an md below it is rejected without the square roots; above it, the exact test decides.
double md_floor(double limit) {
    const double c = 2.0 - 2.0 * limit * limit;
    return (c > 0.0 ? c * c : 0.0) - 1e-12;
}

// First item from position k on, in key order, with key up to hi and md_tri(item, q) <= limit.
// Scans the sorted arrays. O(log n + items in the window).
const MatrixItem* first_close(size_t k, const std::vector<double>& keys,
                              const std::vector<double>& ref_keys,
                              const std::vector<MatrixItem>& items, Matrix2 q, double hi,
                              double limit, double& dq_ref, double floor_md, double& out) {
    const double ref_limit = limit + kRefSlack;
    for (; k < keys.size() && keys[k] <= hi; ++k) {
        if (dq_ref < 0.0) dq_ref = md_tri(q, kReference);
        if (std::fabs(ref_keys[k] - dq_ref) > ref_limit) continue;
        const double x = md(items[k].matrix, q);
        if (x < floor_md) continue;
        const double d = md_to_tri(x);
        if (d <= limit) {
            out = d;
            return &items[k];
        }
    }
    return nullptr;
}

}  // namespace

void BinSet::Bin::merge_pending() {
    if (pending.empty()) return;
    std::vector<double> new_keys;
    std::vector<MatrixItem> new_items;
    new_keys.reserve(keys.size() + pending.size());
    new_items.reserve(keys.size() + pending.size());
    size_t k = 0;
    for (const auto& p : pending) {
        // Equal keys: the sorted (earlier) items first.
        for (; k < keys.size() && keys[k] <= p.first; ++k) {
            new_keys.push_back(keys[k]);
            new_items.push_back(items[k]);
        }
        new_keys.push_back(p.first);
        new_items.push_back(p.second);
    }
    for (; k < keys.size(); ++k) {
        new_keys.push_back(keys[k]);
        new_items.push_back(items[k]);
    }
    keys.swap(new_keys);
    items.swap(new_items);
    pending.clear();
    ref_keys.resize(items.size());
    for (size_t i = 0; i < items.size(); ++i) ref_keys[i] = md_tri(items[i].matrix, kReference);

    // About one bucket per item, a power of two up to 2^16.
    size_t buckets = 1;
    while (buckets < keys.size() && buckets < (size_t(1) << 16)) buckets <<= 1;
    key_min = keys.front();
    const double range = keys.back() - keys.front();
    scale = range > 0.0 && std::isfinite(range) ? double(buckets) / range : 0.0;
    start.assign(buckets + 1, int(keys.size()));
    for (size_t i = keys.size(); i-- > 0;) start[size_t(bucket(keys[i]))] = int(i);
    for (size_t b = buckets; b-- > 0;) start[b] = std::min(start[b], start[b + 1]);
}

int BinSet::Bin::bucket(double key) const {
    const double x = (key - key_min) * scale;
    const int last = int(start.size()) - 2;
    if (!(x > 0.0)) return 0;  // also NaN
    if (x >= double(last)) return last;
    return int(x);
}

size_t BinSet::Bin::lower_bound(double x) const {
    if (keys.empty()) return 0;
    size_t k = size_t(start[size_t(bucket(x))]);
    while (k < keys.size() && keys[k] < x) ++k;
    return k;
}

void BinSet::insert(double distance, Matrix2 matrix, int index, int length) {
    Bin& bin = bins[length];
    bin.pending.emplace(distance, MatrixItem(matrix, distance, index, length));
    if (bin.pending.size() >= kMergeAt) bin.merge_pending();
}

int BinSet::contains(Matrix2 q, double dq, double limit, double& out) const {
    const double lo = dq - limit;
    const double hi = dq + limit;
    const double floor_md = md_floor(limit);
    double dq_ref = -1.0;  // computed when first needed
    for (const auto& entry : bins) {
        const Bin& bin = entry.second;
        double d_sorted = 0.0;
        const MatrixItem* hit = first_close(bin.lower_bound(lo), bin.keys, bin.ref_keys, bin.items,
                                            q, hi, limit, dq_ref, floor_md, d_sorted);
        // A pending item wins only with a smaller key: on equal keys the sorted one came first.
        const double key_bound = hit != nullptr ? hit->distance : hi;
        const auto end = bin.pending.upper_bound(key_bound);
        for (auto it = bin.pending.lower_bound(lo); it != end; ++it) {
            if (hit != nullptr && it->first >= hit->distance) break;
            const double x = md(it->second.matrix, q);
            if (x < floor_md) continue;
            const double d = md_to_tri(x);
            if (d <= limit) {
                out = d;
                return it->second.index;
            }
        }
        if (hit != nullptr) {
            out = d_sorted;
            return hit->index;
        }
    }
    return -1;
}

void BinSet::delete_short_sequences(int length) {
    bins.erase(bins.begin(), bins.lower_bound(length));
    for (auto& entry : bins) entry.second.merge_pending();
}

long BinSet::size() const {
    long n = 0;
    for (const auto& entry : bins)
        n += long(entry.second.items.size() + entry.second.pending.size());
    return n;
}
