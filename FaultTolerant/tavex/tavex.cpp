#include "FaultTolerant/tavex/tavex.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iostream>
#include <new>

#include "circuit/check.h"
#include "circuit/fatal.h"

namespace {

// Printed form of every label; composite labels are left-to-right products of their letters.
const char* const kLabelNames[Tavex::kNumLabels] = {
    "I",     "H",     "X",     "Z",     "S",     "s",     "(HX)",  "(HZ)",  "(HS)",
    "(Hs)",  "(XZ)",  "(XS)",  "(Xs)",  "(SH)",  "(sH)",  "(HXZ)", "(HXS)", "(HXs)",
    "(HSH)", "(HsH)", "(XSH)", "(XsH)", "(SHs)", "(sHS)", "T",     "t"};

constexpr double kInvSqrt2 = 0.7071067811865476;
constexpr int kNodeSize = 27;  // parent slot + children for labels 1..25

Matrix2 letter_matrix(char letter) {
    const double r = kInvSqrt2;
    switch (letter) {
        case 'H':
            return matrix2_of(r, r, r, -r);
        case 'X':
            return matrix2_of(0.0, 1.0, 1.0, 0.0);
        case 'Z':
            return matrix2_of(1.0, 0.0, 0.0, -1.0);
        case 'S':
            return matrix2_of(1.0, 0.0, 0.0, {0.0, 1.0});
        case 's':
            return matrix2_of(1.0, 0.0, 0.0, {0.0, -1.0});
        case 'T':
            return matrix2_of(1.0, 0.0, 0.0, {r, r});
        case 't':
            return matrix2_of(1.0, 0.0, 0.0, {r, -r});
        default:
            return matrix2_identity();  // 'I'
    }
}

}  // namespace

std::string print_gate(int label) {
    if (label < 0 || label >= Tavex::kNumLabels) return "";
    return kLabelNames[label];
}

Matrix2 label_matrix(int label) {
    Matrix2 m = matrix2_identity();
    if (label < 0 || label >= Tavex::kNumLabels) return m;
    for (const char* c = kLabelNames[label]; *c != '\0'; ++c)
        if (*c != '(' && *c != ')') m = m * letter_matrix(*c);
    return m;
}

Tavex::Tavex(int max_unique, int max_length)
    : max_unique(max_unique),
      max_length(max_length),
      pi(3.141592653589793),
      inv_sqrt2(kInvSqrt2),
      tolerance(1e-10) {
    std::fill(std::begin(labels), std::end(labels), 0);
    for (int g = 0; g < kNumLabels; ++g) gate_table[g] = label_matrix(g);
    current = matrix2_identity();
    for (Matrix2& p : partial) p = current;
}

Tavex::~Tavex() = default;

double Tavex::elapsed_seconds() const {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start_time.tv_sec) + 1e-9 * double(now.tv_nsec - start_time.tv_nsec);
}

bool Tavex::allocate() {
    // At least room for the root node and one product, whatever the capacity asked for.
    const size_t capacity = size_t(std::max(max_unique, 2));
    path_stride = std::max(max_length, 1) + 1;
    try {
        unique_list.assign(25 * capacity, 0);
        check_tree.assign(28 * capacity, 0);
        path.assign(size_t(kMaxLabels) * size_t(path_stride), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    clock_gettime(CLOCK_MONOTONIC, &start_time);
    std::fill(std::begin(labels), std::end(labels), 0);
    std::fill(std::begin(valid_len), std::end(valid_len), 0);
    // NOTE: a second search on the same object starts afresh; products and remainders left from
    // another target would give wrong uniqueness decisions and meetings.
    unique_by_dist.clear();
    bins = BinSet();
    top = 0;
    free_list = 2;
    next_free_node = kNodeSize;
    num_unique = 1;
    visited = 0;
    overflow = false;
    for (int g = 0; g < kNumLabels; ++g) gate_table[g] = label_matrix(g);
    return true;
}

void Tavex::release() {
    std::vector<int>().swap(unique_list);
    std::vector<int>().swap(check_tree);
    std::vector<int>().swap(path);
}

// Labels at positions 0..p changed: cached walks through them are stale. Runs whose top lies
// below the lowest run still tested are never walked again and are left alone (the lowest run,
// min(max_length, top) - 1, never falls). O(p + run length).
void Tavex::labels_changed(int p) {
    const int first = std::max(0, std::min(max_length, top) - 1);
    const int last = std::min(kMaxLabels - 1, p + path_stride);
    for (int i = first; i <= last; ++i) valid_len[i] = std::min(valid_len[i], std::max(0, i - p));
}

// Odometer in base 25 over labels 1..25, lowest position fastest: labels[0..k-1] become 1 and
// labels[k] grows by one with carry. Returns the highest position changed.
int Tavex::increment_product(int k) {
    if (k >= kMaxLabels) {
        overflow = true;
        return top;
    }
    for (int j = 0; j < k; ++j) labels[j] = kFirstLabel;
    int j = k;
    ++labels[j];
    while (labels[j] > kLastLabel) {
        labels[j] = kFirstLabel;
        if (++j >= kMaxLabels) {
            overflow = true;
            return top;
        }
        ++labels[j];
    }
    if (j > top) top = j;
    labels_changed(j);
    return j;
}

// Copies the unique product at list position `index` into labels[i..lo] (its highest label at
// position i) and sets every position below lo to 1. Returns the highest position changed.
int Tavex::overwrite_product(int i, int lo, int index) {
    int changed = -1;
    const int* stored = &unique_list[size_t(index) + 1];
    for (int j = i; j >= lo; --j, ++stored)
        if (labels[j] != *stored) {
            if (changed < 0) changed = j;
            labels[j] = *stored;
        }
    for (int j = lo - 1; j >= 0; --j)
        if (labels[j] != kFirstLabel) {
            if (changed < 0) changed = j;
            labels[j] = kFirstLabel;
        }
    if (changed >= 0) labels_changed(changed);
    return changed;
}

// Walks the trie along labels[i], labels[i-1], ..., labels[lo]. Returns 0 when that run is a
// recorded unique product. Otherwise moves the product on to the next candidate whose run can be
// recorded (raising r to the highest position changed) and returns 1.
int Tavex::test_product(int i, int lo, int& r) {
    int* cached = &path[size_t(i) * size_t(path_stride)];
    int depth = valid_len[i];  // labels[i..i - depth + 1] are known to be walked
    if (depth >= i - lo + 1) return 0;
    int node = depth > 0 ? cached[depth - 1] : 0;
    for (int j = i - depth; j >= lo; --j) {
        const int entry = check_tree[size_t(node + labels[j])];
        if (entry > 0) {
            node = entry;
            cached[i - j] = entry;
            valid_len[i] = i - j + 1;
            continue;
        }
        // A mark -k names the first recorded product, in enumeration order, at or after this
        // run; a mark that names a longer product (or no mark) means there is none of this length.
        if (entry < 0 && unique_list[size_t(-entry)] == i - j + 1) {
            r = std::max(r, overwrite_product(i, j, -entry));
        } else {
            r = std::max(r, increment_product(i + 1));
        }
        return 1;
    }
    return 0;
}

// Phase 1: moves on until both maximal proper sub-products, labels[top..1] and labels[top-1..0],
// are recorded unique products. `r` is the highest position changed so far; returns it updated.
int Tavex::skip_product(int r) {
    while (!overflow && top >= 1) {
        if (test_product(top, 1, r) != 0) continue;
        if (test_product(top - 1, 0, r) != 0) continue;
        break;
    }
    return r;
}

// Phase 2: moves on until every run of min(n, top) consecutive labels is a recorded unique
// product. Runs lying wholly above the positions changed since the last accepted product are
// still recorded and are not walked again.
// NOTE: the runs hold n = max_length labels, the longest length the first phase records in full
// (it stops once the product index reaches max_length). Runs of n + 1 labels are never recorded,
// so no product would pass: the phase would only grow the product until the label array is full
// and never meet anything.
int Tavex::skip_product_long(int r, int n) {
    bool again = true;
    while (again && !overflow) {
        again = false;
        const int span = std::min(n, top) - 1;  // a run is labels[i..i - span]
        if (span < 0) break;
        for (int i = std::min(top, r + span); i >= span; --i)
            if (test_product(i, i - span, r) != 0) {
                again = true;
                break;
            }
    }
    return r;
}

// partial[j] is the left-to-right product of labels[top] down to labels[j]; only the levels at
// or below the highest changed position k are recomputed. O(k) products.
void Tavex::calculate_product(int k) {
    int start = k;
    if (k >= top) {
        partial[top + 1] = matrix2_identity();
        start = top;
    }
    for (int j = start; j >= 0; --j) partial[j] = partial[j + 1] * gate_table[labels[j]];
    current = partial[0];
}

// By the triangle inequality only products whose distance to the target lies within the
// tolerance of d can equal the current one up to phase.
bool Tavex::is_unique_product(double d) const {
    const auto end = unique_by_dist.upper_bound(d + tolerance);
    for (auto it = unique_by_dist.lower_bound(d - tolerance); it != end; ++it)
        if (md(it->second, current) > 4.0 - tolerance) return false;
    return true;
}

void Tavex::add_matrix_to_structures(double d) {
    insert_product_in_tree();
    insert_product_in_list();
    unique_by_dist.emplace(d, current);
    ++num_unique;
}

// Gives the current product its own trie node and marks the unvisited entries before it (in
// enumeration order, which is array order) with the product's list position.
void Tavex::insert_product_in_tree() {
    int node = 0;
    for (int j = top; j >= 1; --j) {
        node = check_tree[size_t(node + labels[j])];
        MAROVIN_CHECK(node > 0, "every proper prefix of a recorded product has a trie node");
    }
    const int entry = node + labels[0];
    MAROVIN_CHECK(check_tree[size_t(entry)] == 0, "a product is recorded in the trie once");
    check_tree[size_t(entry)] = next_free_node;
    check_tree[size_t(next_free_node)] = entry;  // parent slot: the entry pointing here
    next_free_node += kNodeSize;
    for (int q = entry - 1; q > 0; --q) {
        if (q % kNodeSize == 0) continue;  // parent slot of a node
        if (check_tree[size_t(q)] != 0) break;
        check_tree[size_t(q)] = -free_list;
    }
}

void Tavex::insert_product_in_list() {
    const int position = free_list;
    unique_list[size_t(position)] = top + 1;
    for (int j = top; j >= 0; --j) unique_list[size_t(position + top + 1 - j)] = labels[j];
    free_list += top + 2;
    MAROVIN_CHECK(position == 2 || product_less_than(last_listed, position),
                  "unique products are listed in enumeration order");
    last_listed = position;
}

// Order of enumeration: shorter first, then from the highest label down.
bool Tavex::product_less_than(int index_a, int index_b) const {
    const int len_a = unique_list[size_t(index_a)];
    const int len_b = unique_list[size_t(index_b)];
    if (len_a != len_b) return len_a < len_b;
    for (int j = 1; j <= len_a; ++j) {
        const int a = unique_list[size_t(index_a + j)];
        const int b = unique_list[size_t(index_b + j)];
        if (a != b) return a < b;
    }
    return false;
}

std::string Tavex::print_product(const int* product, int product_top) const {
    std::string s;
    for (int j = product_top; j >= 0; --j) s += print_gate(product[j]);
    return s;
}

std::string Tavex::print_sequence(int index) const {
    std::string s;
    if (index < 0 || size_t(index) >= unique_list.size()) return s;
    const int length = unique_list[size_t(index)];
    for (int j = 1; j <= length; ++j) s += print_gate(unique_list[size_t(index + j)]);
    return s;
}

std::string Tavex::ft_tavex(Matrix2 target, double threshold) {
    // NOTE: running out of memory is a failure, reported as one (exit status 1, one line).
    if (!allocate()) fatal_error("Error: ft_tavex cannot allocate its search arrays");
    const Matrix2 identity = matrix2_identity();
    const double d0 = md_tri(identity, target);
    // NOTE: a target with a NaN entry has no approximation; NaN keys would also break the maps.
    if (std::isnan(d0)) {
        release();
        return "";
    }
    if (threshold > d0) {
        release();
        return "I";
    }
    unique_by_dist.emplace(d0, identity);
    double best = d0;
    std::cout << "Beginning enumeration...\n";

    std::string result;
    // A meeting Q x P within the threshold ends the search.
    auto meet = [&](int index) {
        std::cout << "MEET! dist= " << best << std::endl;
        result = print_product(labels, top) + print_sequence(index);
    };

    // Phase 1: record unique products and their remainders, and meet them with earlier ones.
    while (top < max_length && num_unique < max_unique && best > threshold) {
        int r = skip_product(increment_product(0));
        // NOTE: the list of unique products is full (only for a first phase longer than the
        // list was sized for): end the phase instead of writing past it.
        if (overflow || size_t(free_list + top + 2) > unique_list.size()) break;
        calculate_product(r);
        ++visited;
        const double d = md_tri(current, target);
        if (!is_unique_product(d)) continue;
        const int k = bins.contains(current, d, best - tolerance, best);
        // NOTE: a meeting exactly at the threshold ends the search too, so it is returned.
        if (k != -1 && best <= threshold) {
            meet(k);
            break;
        }
        const Matrix2 remainder = target * minv(current);
        bins.insert(md_tri(remainder, target), remainder, free_list, top + 1);
        add_matrix_to_structures(d);
        if (d < best - tolerance) {
            best = d;
            // NOTE: a single product within the threshold ends the search; it is the answer.
            if (best <= threshold) result = print_product(labels, top);
        }
    }

    // Phase 2: meet longer products, made of recorded runs, with the longest remainders.
    if (result.empty() && best > threshold) {
        bins.delete_short_sequences(max_length);
        while (best > threshold) {
            int r = skip_product_long(increment_product(0), max_length);
            // NOTE: the products would outgrow the label array: no result.
            if (overflow) break;
            calculate_product(r);
            ++visited;
            const double d = md_tri(current, target);
            const int k = bins.contains(current, d, best - tolerance, best);
            if (k != -1 && best <= threshold) {
                meet(k);
                break;
            }
            if (d < best - tolerance) {
                best = d;
                if (best <= threshold) result = print_product(labels, top);
            }
        }
    }
    release();
    return result;
}
