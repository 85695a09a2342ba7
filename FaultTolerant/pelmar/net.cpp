#include "FaultTolerant/pelmar/net.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <ostream>

#include "FaultTolerant/pelmar/exception.h"
#include "FaultTolerant/pelmar/su2.h"

using cd = std::complex<double>;

namespace {

const char kMagic[17] = "Epsilon Net v0.1";  // 16 characters and the terminating zero
constexpr int kMagicCompared = 15;           // the version digit is not compared
/// The file lists the entries of a gate matrix column by column: m00, m10, m01, m11 (positions
/// in Matrix2's row-major entries).
constexpr int kFileEntryOrder[4] = {0, 2, 1, 3};

/// Thresholds on the squared cart4 distance: equal, or equal to the negative.
constexpr double kSameSq = 1e-30;
constexpr double kNegatedSq = 3.9999999999999956;

double cart4_sqdist(const Matrix2& A, const Matrix2& B) {
    const su2::Cart4 a = su2::mat_to_cart4(A);
    const su2::Cart4 b = su2::mat_to_cart4(B);
    double s = 0.0;
    for (int k = 0; k < 4; ++k) s += (a[k] - b[k]) * (a[k] - b[k]);
    return s;
}

/// A equals B or -B.
bool equal_up_to_sign(const Matrix2& A, const Matrix2& B) {
    const double s = cart4_sqdist(A, B);
    return s < kSameSq || s > kNegatedSq;
}

/// Message with one formatted argument, cut to 128 characters.
// The argument is a file name of any length: the message is sized to it, never cut short.
std::string format_message(const char* pattern, const char* arg) {
    const int length = std::snprintf(nullptr, 0, pattern, arg);
    if (length <= 0) return pattern;
    std::string message(static_cast<size_t>(length) + 1, '\0');
    std::snprintf(message.data(), message.size(), pattern, arg);
    message.resize(static_cast<size_t>(length));
    return message;
}

std::string format_message(const char* pattern, char arg) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, pattern, arg);
    return buffer;
}

int16_t to_int16(double x) {
    // Symmetric range, so that negating a coordinate never overflows.
    if (x > 32767.0) return 32767;
    if (x < -32767.0) return -32767;
    return static_cast<int16_t>(x);
}

// Little-endian raw values for the net file.
void put_bytes(std::ostream& out, uint64_t bits, int n) {
    for (int i = 0; i < n; ++i) out.put(static_cast<char>((bits >> (8 * i)) & 0xff));
}
void put_i32(std::ostream& out, int32_t v) {
    put_bytes(out, static_cast<uint32_t>(v), 4);
}
void put_i16(std::ostream& out, int16_t v) {
    put_bytes(out, static_cast<uint16_t>(v), 2);
}
void put_f64(std::ostream& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    put_bytes(out, bits, 8);
}

/// Reader of the net file that throws on a short read.
class NetReader {
  public:
    NetReader(std::istream& in, const char* file) : in_(in), file_(file) {}
    uint64_t bytes(int n) {
        unsigned char b[8];
        in_.read(reinterpret_cast<char*>(b), n);
        if (!in_) corrupt();
        uint64_t bits = 0;
        for (int i = n - 1; i >= 0; --i) bits = (bits << 8) | b[i];
        return bits;
    }
    int32_t i32() { return static_cast<int32_t>(static_cast<uint32_t>(bytes(4))); }
    int16_t i16() { return static_cast<int16_t>(static_cast<uint16_t>(bytes(2))); }
    double f64() {
        const uint64_t bits = bytes(8);
        double v;
        std::memcpy(&v, &bits, 8);
        return v;
    }
    std::string text(int32_t n) {
        // A corrupt length must not make us allocate gigabytes before the read fails.
        if (n < 0 || n > (1 << 24)) corrupt();
        std::string s(static_cast<size_t>(n), '\0');
        in_.read(&s[0], n);
        if (!in_) corrupt();
        return s;
    }
    [[noreturn]] void corrupt() const {
        throw Exception(format_message("'%s' is truncated or corrupt", file_));
    }

  private:
    std::istream& in_;
    const char* file_;
};

}  // namespace

bool Net::icoord_cmp::operator()(const icoord& a, const icoord& b) const {
    // Each pair read as one little-endian 32-bit word, compared signed.
    auto word = [](int16_t lo, int16_t hi) {
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint16_t>(lo)) |
                                    (static_cast<uint32_t>(static_cast<uint16_t>(hi)) << 16));
    };
    const int32_t a0 = word(a.v[0], a.v[1]);
    const int32_t b0 = word(b.v[0], b.v[1]);
    if (a0 != b0) return a0 < b0;
    return word(a.v[2], a.v[3]) < word(b.v[2], b.v[3]);
}

Net::Net(double tilewidth) : tilewidth_(tilewidth) {
    // NOTE: a width that is zero, negative or NaN is refused like one that is too small; the
    // tile count would otherwise overflow or turn negative.
    const double per_unit = std::trunc(2.0 / tilewidth);
    if (!(tilewidth > 0) || !(per_unit < 32767))
        throw Exception("tilewidth too small. (minimum is 6.2 x 10^-5)");
    tiles_per_unit_ = static_cast<int>(per_unit);
    std::memset(label_index_, 255, sizeof label_index_);
}

Net::Net(const char* file) {
    std::memset(label_index_, 255, sizeof label_index_);
    load(file);
}

void Net::clear() {
    tiles_.clear();
    knots_.clear();
    gate_matrices_.clear();
    gate_labels_.clear();
    gate_order_.clear();
    gate_inverse_.clear();
    std::memset(label_index_, 255, sizeof label_index_);
}

void Net::set_label_index() {
    std::memset(label_index_, 255, sizeof label_index_);
    for (size_t i = 0; i < gate_labels_.size(); ++i)
        label_index_[static_cast<unsigned char>(gate_labels_[i])] = static_cast<uint8_t>(i);
}

int Net::label_index(char label) const {
    const uint8_t i = label_index_[static_cast<unsigned char>(label)];
    return i == 255 ? -1 : i;
}

int Net::gate_index(char label) const {
    const int i = label_index(label);
    if (i < 0) throw Exception("unrecognized label in gate sequence");
    return i;
}

void Net::generate(const char* labels, const cd* const* matrices, int n, int length) {
    clear();
    // Labels are indexed through a byte table in which 255 means "no gate".
    if (n < 0 || 2 * n > 255) throw Exception("too many base gates");
    gate_matrices_.reserve(2 * n);
    for (int i = 0; i < n; ++i) {
        const cd* m = matrices[i];
        const Matrix2 A = matrix2_of(m[0], m[1], m[2], m[3]);
        if (!(std::abs(A.Determinant() - 1.0) <= 1e-15))
            throw Exception(format_message("det(%c) != 1", labels[i]));
        // NOTE: A^dagger A is positive, so only the identity counts. Accepting a squared distance
        // beyond 3.9999999999999956 as "minus the identity" let far-from-unitary gates through,
        // e.g. diag(2, 1/2).
        if (!(cart4_sqdist(A.Adjoint() * A, Id2) < kSameSq))
            throw Exception(format_message("%c is not unitary", labels[i]));
        gate_matrices_.push_back(A);
        gate_labels_.push_back(labels[i]);
    }

    // Inverses: an existing gate when one matches A^dagger up to sign, else a new gate labelled
    // with the lower-case letter ("T" -> "t").
    gate_inverse_.assign(2 * n, -1);
    for (int j = 0; j < n; ++j) {
        const Matrix2 inverse = gate_matrices_[j].Adjoint();
        int match = -1;
        // NOTE: every gate is a candidate. Trying only the gates at even positions missed
        // inverses given among the base gates (base set "Tt") and added a second gate with a
        // clashing label.
        for (int k = 0; k < gate_count() && match < 0; ++k)
            if (equal_up_to_sign(inverse, gate_matrices_[k])) match = k;
        if (match < 0) {
            match = gate_count();
            gate_matrices_.push_back(inverse);
            gate_labels_.push_back(static_cast<char>(gate_labels_[j] + 32));
        }
        gate_inverse_[j] = match;
        gate_inverse_[match] = j;
    }
    gate_inverse_.resize(gate_count());
    set_label_index();

    // Order: the smallest power that is +-Id2 (50 is recorded as -1, none within 50 as 51).
    gate_order_.assign(gate_count(), 51);
    for (int g = 0; g < gate_count(); ++g) {
        Matrix2 M = gate_matrices_[g];
        for (int k = 1; k <= 50; ++k) {
            if (k > 1) M = M * gate_matrices_[g];
            if (equal_up_to_sign(M, Id2)) {
                gate_order_[g] = k == 50 ? -1 : k;
                break;
            }
        }
    }

    generate_net(length);
}

void Net::generate_net(int L) {
    std::vector<int> seq;
    std::string labels;
    std::vector<Matrix2> products;  // products[p] = left-to-right product of seq[0..p]
    seq.reserve(L);
    products.reserve(L);

    // True when g may follow the current sequence: not right after its inverse, and not closing
    // a run of gate_order[g] equal gates.
    auto allowed = [&](int g) {
        const int p = static_cast<int>(seq.size());
        if (p > 0 && seq[p - 1] == gate_inverse_[g]) return false;
        const int order = gate_order_[g];
        if (order <= 0 || order - 1 > p) return true;
        for (int i = p - (order - 1); i < p; ++i)
            if (seq[i] != g) return true;
        return false;
    };

    std::function<void()> extend = [&]() {
        for (int g = 0; g < gate_count(); ++g) {
            if (!allowed(g)) continue;
            const Matrix2 M = seq.empty() ? gate_matrices_[g] : products.back() * gate_matrices_[g];
            seq.push_back(g);
            labels.push_back(gate_labels_[g]);
            products.push_back(M);
            add(M, labels, static_cast<int>(seq.size()));
            if (static_cast<int>(seq.size()) < L) extend();
            seq.pop_back();
            labels.pop_back();
            products.pop_back();
        }
    };
    if (L > 0) extend();
}

void Net::add(const Matrix2& M, const std::string& labels, int length) {
    knots_.push_back(std::unique_ptr<knot>(new knot{length, labels, M}));
    const knot* k = knots_.back().get();
    for (int c = 0; c < 16; ++c) tiles_[coordinate(M, c)].push_back(k);
}

Net::icoord Net::coordinate(const Matrix2& M, int corner) const {
    const su2::Cart4 x = su2::mat_to_cart4(M);
    int16_t r[4];
    for (int k = 0; k < 4; ++k) {
        const double v = x[k] * tiles_per_unit_;
        // NOTE: a NaN entry has no tile; it would otherwise be converted to an integer.
        if (std::isnan(v)) throw Exception("matrix with a NaN entry has no tile");
        double rounded;
        if (corner < 0)
            rounded = std::floor(v + 0.5);
        else
            rounded = (corner >> k) & 1 ? std::ceil(v) : std::floor(v);
        r[k] = to_int16(rounded);
    }
    // M and -M share a tile: the first non-zero value is made positive.
    for (int k = 0; k < 4; ++k) {
        if (r[k] == 0) continue;
        if (r[k] < 0)
            for (int j = k; j < 4; ++j) r[j] = static_cast<int16_t>(-r[j]);
        break;
    }
    icoord c;
    c.v[0] = r[1];
    c.v[1] = r[0];
    c.v[2] = r[3];
    c.v[3] = r[2];
    return c;
}

const Net::knot* Net::nearest(const Matrix2& U) {
    const std::vector<const knot*>* tile = nullptr;
    auto it = tiles_.find(coordinate(U, -1));
    if (it != tiles_.end() && !it->second.empty()) tile = &it->second;
    for (int c = 0; c < 16 && !tile; ++c) {
        it = tiles_.find(coordinate(U, c));
        if (it != tiles_.end() && !it->second.empty()) tile = &it->second;
    }
    const knot* best = nullptr;
    double best_dist = 4.0;
    auto consider = [&](const knot* k) {
        const double d = su2::proj_trace_dist(U, k->matrix);
        ++evaluations_;
        if (d < best_dist) {
            best_dist = d;
            best = k;
        }
    };
    if (tile) {
        for (const knot* k : *tile) consider(k);
    } else {
        // NOTE: when the 16 tiles around U are all empty, every knot is scanned (O(knots)). A
        // value exactly on a grid line collapses U's cell (floor = ceil), and every Z rotation
        // has two such values; with the net of ftpelmar (about 3800 distinct matrices up to
        // sign, nearest knots up to 0.16 away) that left 27% of Z rotations without any knot
        // in reach, and the rotation unconverted. Where the tiles find a knot the result is
        // unchanged.
        for (const auto& k : knots_) consider(k.get());
    }
    if (!best)
        throw Exception(
            "unable to find approximation (try increasing the tile width or sequence length)");
    return best;
}

Net::knot Net::solovay_kitaev(const Matrix2& U, int n) {
    // NOTE: the depth is the recursion depth and sets the work (3^n nearest-knot searches).
    if (n < 0 || n > kMaxDepth)
        throw Exception("Solovay-Kitaev depth " + std::to_string(n) + " is outside 0 to " +
                        std::to_string(kMaxDepth));
    if (n == 0) return *nearest(U);
    const knot u = solovay_kitaev(U, n - 1);
    Matrix2 delta = U * u.matrix.Adjoint();
    // NOTE: the net cannot tell a knot K from -K, so about half the time u approximates -U and
    // delta is near -Id2: a rotation by nearly 2 pi whose commutator factors are large and make
    // the result worse with every level. -delta is the same rotation up to sign and near Id2.
    if ((delta(0, 0) + delta(1, 1)).real() < 0) delta = cd(-1.0) * delta;
    Matrix2 V;
    Matrix2 W;
    su2::group_factor(delta, V, W);
    const knot v = solovay_kitaev(V, n - 1);
    const knot w = solovay_kitaev(W, n - 1);
    knot result;
    result.labels = v.labels + w.labels + invert(v.labels) + invert(w.labels) + u.labels;
    result.length = 2 * (v.length + w.length) + u.length;
    result.matrix = v.matrix * w.matrix * v.matrix.Adjoint() * w.matrix.Adjoint() * u.matrix;
    return result;
}

Matrix2 Net::evaluate(const std::string& labels) const {
    Matrix2 M = Id2;
    for (char label : labels) M = M * gate_matrices_[gate_index(label)];
    return M;
}

std::string Net::invert(const std::string& labels) const {
    std::string result;
    result.reserve(labels.size());
    for (auto it = labels.rbegin(); it != labels.rend(); ++it)
        result.push_back(gate_labels_[gate_inverse_[gate_index(*it)]]);
    return result;
}

void Net::save(const char* file) const {
    std::ofstream out(file, std::ios::binary);
    if (!out) throw Exception(format_message("unable to open file '%s' for writing", file));
    out.write(kMagic, sizeof kMagic);
    put_f64(out, tilewidth_);
    put_i32(out, tiles_per_unit_);
    put_i32(out, gate_count());
    for (const Matrix2& g : gate_matrices_)
        for (int k : kFileEntryOrder) {
            put_f64(out, g.e[k].real());
            put_f64(out, g.e[k].imag());
        }
    out.write(gate_labels_.data(), gate_count());
    for (int order : gate_order_) put_i32(out, order);
    for (int inverse : gate_inverse_) put_i32(out, inverse);
    put_i32(out, static_cast<int32_t>(knots_.size()));
    for (const auto& k : knots_) {
        put_i32(out, static_cast<int32_t>(k->labels.size()));
        out.write(k->labels.data(), k->labels.size());
        for (double x : su2::mat_to_cart4(k->matrix)) put_f64(out, x);
        for (int c = 0; c < 16; ++c) {
            const icoord ic = coordinate(k->matrix, c);
            for (int16_t v : ic.v) put_i16(out, v);
        }
    }
    out.close();
    // NOTE: a failed write (disk full) is reported instead of leaving a cut file silently.
    if (!out) throw Exception(format_message("unable to write file '%s'", file));
}

void Net::load(const char* file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Exception(format_message("unable to open file '%s' for reading", file));
    char magic[sizeof kMagic];
    in.read(magic, sizeof magic);
    if (!in || std::memcmp(magic, kMagic, kMagicCompared) != 0)
        throw Exception(format_message("'%s' doesn't look like a Net file", file));

    // NOTE: every count and index is checked, and a short read is reported, so that a cut or
    // damaged file raises an Exception instead of building a net that indexes out of range.
    NetReader reader(in, file);
    const double tilewidth = reader.f64();
    const int32_t per_unit = reader.i32();
    const int32_t count = reader.i32();
    if (per_unit < 0 || per_unit >= 32767 || count < 0 || count > 255) reader.corrupt();
    std::vector<Matrix2> matrices(count);
    for (Matrix2& g : matrices)
        for (int k : kFileEntryOrder) {
            const double re = reader.f64();
            g.e[k] = cd(re, reader.f64());
        }
    const std::string labels = reader.text(count);
    std::vector<int> orders(count);
    for (int& order : orders) order = reader.i32();
    std::vector<int> inverses(count);
    for (int& inverse : inverses) {
        inverse = reader.i32();
        if (inverse < 0 || inverse >= count) reader.corrupt();
    }

    clear();
    tilewidth_ = tilewidth;
    tiles_per_unit_ = per_unit;
    gate_matrices_ = std::move(matrices);
    gate_labels_ = labels;
    gate_order_ = std::move(orders);
    gate_inverse_ = std::move(inverses);
    set_label_index();
    try {
        const int32_t knot_count = reader.i32();
        if (knot_count < 0) reader.corrupt();
        for (int32_t i = 0; i < knot_count; ++i) {
            const int32_t length = reader.i32();
            std::string knot_labels = reader.text(length);
            su2::Cart4 x;
            for (double& v : x) v = reader.f64();
            knots_.push_back(std::unique_ptr<knot>(
                new knot{length, std::move(knot_labels), su2::cart4_to_mat(x)}));
            const knot* k = knots_.back().get();
            for (int c = 0; c < 16; ++c) {
                icoord ic;
                for (int16_t& v : ic.v) v = reader.i16();
                tiles_[ic].push_back(k);
            }
        }
    } catch (const Exception&) {
        clear();
        throw;
    }
}

std::ostream& operator<<(std::ostream& os, const Net& net) {
    os << "Net of tilewidth " << net.tilewidth() << "\n";
    os << "gate set { ";
    for (int g = 0; g < net.gate_count(); ++g) {
        if (g > 0) os << ", ";
        os << net.gate_labels()[g] << " (order " << net.gate_order()[g];
        if (net.gate_order()[g] != 2)
            os << ", inverse " << net.gate_labels()[net.gate_inverse()[g]];
        os << ")";
    }
    os << " }";
    return os;
}
