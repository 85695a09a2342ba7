#pragma once
// Exhaustive meet-in-the-middle search for a Clifford+T sequence approximating a 2x2 unitary up to
// a global phase.
//
// Products are strings over 25 gate labels (numbers 1..25: H, X, Z, S, s, the composite Clifford
// labels such as "(SH)", and T, t), enumerated by length like an odometer. Products that are new up
// to a global phase are recorded, with the remainder target x P^-1 of each; a later product Q close
// to a stored remainder gives the answer Q followed by P.

#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "FaultTolerant/matrix/matrix2.h"
#include "FaultTolerant/tavex/bin_set.h"
#include "FaultTolerant/tavex/bit_ops.h"

/// \brief The printed form of label `label` ("I", "H", ..., "(SHs)", "T", "t" for 0..25), or the
/// empty string for any other number.
std::string print_gate(int label);

/// \brief The matrix of label `label` (0..25): the left-to-right product of its letters.
/// Any other number gives the identity.
Matrix2 label_matrix(int label);

/// One search over products of the gate labels. Serves a single call of `ft_tavex`.
class Tavex {
  public:
    /// Labels that products are made of: 1..25 (0 is the identity).
    static constexpr int kFirstLabel = 1;
    static constexpr int kLastLabel = 25;
    static constexpr int kNumLabels = 26;
    /// Capacity of the label array: the longest product the search can hold.
    static constexpr int kMaxLabels = 100;

    /// \brief `max_unique`: capacity in unique products (the conversion passes 10200);
    /// `max_length`: highest label index of the first phase (the conversion passes 15).
    Tavex(int max_unique, int max_length);
    ~Tavex();
    Tavex(const Tavex&) = delete;
    Tavex& operator=(const Tavex&) = delete;

    /// \brief A gate-sequence string (letters H X Z S s T t, composite labels in parentheses)
    /// whose left-to-right product is within `threshold` (md_tri) of `target` up to a global
    /// phase; "I" when the identity already is; "" when the search ends without a result.
    std::string ft_tavex(Matrix2 target, double threshold);

    /// \brief The current product as a string: labels from the highest index down.
    std::string print_product(const int* product, int product_top) const;
    /// \brief The unique product stored at position `index` of the unique list, as a string.
    std::string print_sequence(int index) const;

    /// Figures of the last search, for diagnostics and benchmarks.
    int unique_count() const { return num_unique; }
    int product_top() const { return top; }
    long long products_visited() const { return visited; }
    /// \brief Seconds on the monotonic clock since the enumeration began.
    double elapsed_seconds() const;

  private:
    // Search state; see ft_tavex.
    int max_unique;
    int max_length;
    double pi;
    double inv_sqrt2;
    double tolerance;

    int labels[kMaxLabels];  // labels[0..top], each 1..25; labels[top] is the leftmost factor
    int top = 0;
    std::vector<int> unique_list;  // per product: its length, then its labels from the top down
    int free_list = 2;
    std::vector<int> check_tree;  // trie in nodes of 27 ints: parent slot, children 1..25
    int next_free_node = 27;
    int num_unique = 1;
    int last_listed = 2;
    long long visited = 0;
    bool overflow = false;  // a product would outgrow the label array
    // Trie walks cached per run: path[i * path_stride + d] is the node reached from labels[i]
    // down to labels[i - d]; the first valid_len[i] entries are current. Positive trie entries
    // never change, so an entry stays valid until one of its labels changes.
    int path_stride = 1;
    std::vector<int> path;
    int valid_len[kMaxLabels];

    Matrix2 gate_table[kNumLabels];
    // partial[j] = G(labels[top]) x ... x G(labels[j]); partial[top + 1] = I.
    Matrix2 partial[kMaxLabels + 1];
    Matrix2 current;
    std::multimap<double, Matrix2> unique_by_dist;
    BinSet bins;
    timespec start_time{};

    bool allocate();
    void release();
    int increment_product(int k);
    int skip_product(int r);
    int skip_product_long(int r, int n);
    int test_product(int i, int lo, int& r);
    int overwrite_product(int i, int lo, int index);
    void labels_changed(int p);
    void calculate_product(int k);
    bool is_unique_product(double d) const;
    void add_matrix_to_structures(double d);
    void insert_product_in_tree();
    void insert_product_in_list();
    bool product_less_than(int index_a, int index_b) const;
};
