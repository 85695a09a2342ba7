#pragma once
// Epsilon net of SU(2): every pruned sequence of a small gate set up to a fixed length, with its
// matrix, indexed by integer tile coordinates of its cart4 vector; and the Solovay-Kitaev
// recursion built on it.

#include <complex>
#include <cstdint>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "FaultTolerant/matrix/matrix2.h"

class Net {
  public:
    /// A gate sequence (labels in time order) and the left-to-right product of its gates.
    struct knot {
        int length = 0;
        std::string labels;
        Matrix2 matrix;
    };

    /// Tile coordinate: the rounded scaled cart4 values 1, 0, 3, 2, with the sign normalised so
    /// that M and -M share it.
    struct icoord {
        int16_t v[4] = {0, 0, 0, 0};
        bool operator==(const icoord& o) const {
            return v[0] == o.v[0] && v[1] == o.v[1] && v[2] == o.v[2] && v[3] == o.v[3];
        }
    };

    /// Orders icoords as two 32-bit words (first pair, then second pair), each signed.
    struct icoord_cmp {
        bool operator()(const icoord& a, const icoord& b) const;
    };

    using tile_map = std::map<icoord, std::vector<const knot*>, icoord_cmp>;

    /// \brief Empty net whose tiles have edge `tilewidth` in cart4 units. Throws Exception when
    /// the width is too small (or not positive).
    explicit Net(double tilewidth);
    /// \brief Net read from a file written by save().
    explicit Net(const char* file);
    Net(const Net&) = delete;
    Net& operator=(const Net&) = delete;

    /// \brief Sets the gate set from n base gates (labels[i], matrices[i] = m00, m01, m10, m11 in
    /// SU(2)), adds their inverses, and builds the net of all sequences up to `length` gates.
    void generate(const char* labels, const std::complex<double>* const* matrices, int n,
                  int length);
    /// \brief Adds every pruned gate sequence of length 1 to L (depth first, gates in index order).
    void generate_net(int L);
    /// \brief Registers a knot (labels, M) in the 16 tiles around its coordinate.
    void add(const Matrix2& M, const std::string& labels, int length);
    /// \brief Tile coordinate of M: corner c in 0..15 (bit k rounds value k up), or -1 for the
    /// nearest grid point.
    icoord coordinate(const Matrix2& M, int corner) const;
    /// \brief The knot closest to U (up to sign) in U's tile. Throws Exception when U's tiles are
    /// all empty.
    const knot* nearest(const Matrix2& U);
    /// Deepest recursion solovay_kitaev accepts. Each level makes the sequence five times longer
    /// and the work three times larger; at depth 5 to 6 the approximation reaches the rounding
    /// floor of the double-precision products (a distance of about 3e-6 for sequences of 40000
    /// to 200000 gates) and deeper levels only make it longer and worse.
    static constexpr int kMaxDepth = 6;

    /// \brief Solovay-Kitaev approximation of U (SU(2)) to recursion depth n, 0 <= n <=
    /// kMaxDepth. Throws Exception for any other depth.
    knot solovay_kitaev(const Matrix2& U, int n);

    /// \brief Left-to-right product of the gates of a label string (Id2 for "").
    Matrix2 evaluate(const std::string& labels) const;
    /// \brief Inverse sequence: reversed, each label replaced by its inverse gate's label.
    std::string invert(const std::string& labels) const;

    /// \brief Writes the net in the binary "Epsilon Net v0.1" format.
    void save(const char* file) const;
    /// \brief Replaces this net by the one in a file written by save().
    void load(const char* file);

    double tilewidth() const { return tilewidth_; }
    int tiles_per_unit() const { return tiles_per_unit_; }
    int gate_count() const { return static_cast<int>(gate_matrices_.size()); }
    const std::vector<Matrix2>& gate_matrices() const { return gate_matrices_; }
    const std::string& gate_labels() const { return gate_labels_; }
    const std::vector<int>& gate_order() const { return gate_order_; }
    const std::vector<int>& gate_inverse() const { return gate_inverse_; }
    /// Gate index of a label, -1 for none.
    int label_index(char label) const;
    const std::vector<std::unique_ptr<knot>>& knots() const { return knots_; }
    const tile_map& tiles() const { return tiles_; }
    /// Number of distances computed by nearest().
    long evaluations() const { return evaluations_; }

  private:
    void clear();
    void set_label_index();
    int gate_index(char label) const;

    std::vector<std::unique_ptr<knot>> knots_;  // insertion order; owns the knots
    double tilewidth_ = 0.0;
    int tiles_per_unit_ = 0;
    std::vector<Matrix2> gate_matrices_;  // base gates, then the inverses added for them
    std::string gate_labels_;
    std::vector<int> gate_order_;
    std::vector<int> gate_inverse_;
    uint8_t label_index_[256];  // 255 for none
    tile_map tiles_;
    long evaluations_ = 0;
};

/// \brief One-paragraph summary of the gate set: "Net of tilewidth ...", "gate set { ... }".
std::ostream& operator<<(std::ostream& os, const Net& net);
