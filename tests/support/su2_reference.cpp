#include "support/su2_reference.h"

#include <stdexcept>

#include "FaultTolerant/pelmar/su2.h"
#include "support/unitary.h"

namespace pelmar_test {

namespace {

CMatrix from_sim(const sim::Mat2& m) {
    return su2::mat2(m[0], m[1], m[2], m[3]);
}

}  // namespace

CMatrix independent_product(const std::string& seq) {
    const CMatrix h = from_sim(sim::one_qubit_matrix(H, 0));
    const CMatrix t = from_sim(sim::one_qubit_matrix(T, 0));
    const CMatrix t_dag = from_sim(sim::one_qubit_matrix(T_dag, 0));
    CMatrix M = su2::mat2(1, 0, 0, 1);
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

CMatrix to_su2(const CMatrix& U) {
    return (1.0 / std::sqrt(U.Determinant())) * U;
}

double phase_free_dist(const CMatrix& A, const CMatrix& B) {
    return su2::proj_trace_dist(to_su2(A), to_su2(B));
}

CMatrix rz(double theta) {
    return su2::mat2(std::polar(1.0, -theta / 2), 0.0, 0.0, std::polar(1.0, theta / 2));
}

CMatrix random_su2(std::mt19937& rng) {
    std::uniform_real_distribution<double> u(-3.0, 3.0);
    return su2::cart3_to_mat({u(rng), u(rng), u(rng)});
}

}  // namespace pelmar_test
