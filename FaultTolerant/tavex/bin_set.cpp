#include "FaultTolerant/tavex/bin_set.h"

void BinSet::insert(double distance, MtxTavex matrix, int index, int length) {
    bins[length].emplace(distance, MatrixItem(matrix, distance, index, length));
}

int BinSet::contains(MtxTavex q, double dq, double limit, double& out) const {
    for (const auto& bin : bins) {
        const auto& items = bin.second;
        const auto end = items.upper_bound(dq + limit);
        for (auto it = items.lower_bound(dq - limit); it != end; ++it) {
            const double d = md_tri(it->second.matrix, q);
            if (d <= limit) {
                out = d;
                return it->second.index;
            }
        }
    }
    return -1;
}

void BinSet::delete_short_sequences(int length) {
    bins.erase(bins.begin(), bins.lower_bound(length));
}
