#include "support/su2_reference.h"

#include <stdexcept>

#include "FaultTolerant/pelmar/su2.h"
#include "support/unitary.h"

namespace pelmar_test {

namespace {

Matrix2 from_sim(const sim::Mat2& m) {
    return matrix2_of(m[0], m[1], m[2], m[3]);
}

}  // namespace

Matrix2 independent_product(const std::string& seq) {
    const Matrix2 h = from_sim(sim::one_qubit_matrix(H, 0));
    const Matrix2 t = from_sim(sim::one_qubit_matrix(T, 0));
    const Matrix2 t_dag = from_sim(sim::one_qubit_matrix(T_dag, 0));
    Matrix2 M = matrix2_of(1, 0, 0, 1);
    for (char c : seq) {
        if (c == 'H')
            M = M * h;
        else if (c == 'T')
            M = M * t;
        else if (c == 't')
            M = M * t_dag;
        else
            throw std::invalid_argument(std::string("unexpected letter ") + c);
    }
    return M;
}

Matrix2 to_su2(const Matrix2& U) {
    return (1.0 / std::sqrt(U.Determinant())) * U;
}

double phase_free_dist(const Matrix2& A, const Matrix2& B) {
    return su2::proj_trace_dist(to_su2(A), to_su2(B));
}

Matrix2 rz(double theta) {
    return matrix2_of(std::polar(1.0, -theta / 2), 0.0, 0.0, std::polar(1.0, theta / 2));
}

Matrix2 random_su2(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-3.0, 3.0);
    return su2::cart3_to_mat({u(rng), u(rng), u(rng)});
}

}  // namespace pelmar_test
