#pragma once
// SU(2) helpers: the Pauli constants, the four- and three-component coordinates of a 2x2
// unitary, the projective distance, and the balanced group commutator used by Solovay-Kitaev.
//
// cart4 (x0, x1, x2, x3): M = x0 Id2 - i x1 PX - i x2 PY - i x3 PZ
//                           = (x0 - i x3, -x2 - i x1; x2 - i x1, x0 + i x3).
// cart3 v = theta n: M = cos(theta/2) Id2 - i sin(theta/2) (n . (PX, PY, PZ)), the rotation by
// theta (radians) about the unit axis n.

#include <array>

#include "FaultTolerant/matrix/matrix2.h"

/// 2x2 identity and Pauli matrices.
extern const Matrix2 Id2;
extern const Matrix2 PX;
extern const Matrix2 PY;
extern const Matrix2 PZ;

namespace su2 {

using Cart4 = std::array<double, 4>;
using Cart3 = std::array<double, 3>;

/// \brief (Re m00, -Im m01, Re m10, Im m11); components below 1e-15 in magnitude become 0.
Cart4 mat_to_cart4(const Matrix2& M);
/// \brief The SU(2) matrix of a cart4 vector.
Matrix2 cart4_to_mat(const Cart4& x);

/// \brief Rotation vector (angle in radians times unit axis) of an SU(2) matrix; the angle lies
/// in [0, 2 pi].
Cart3 mat_to_cart3(const Matrix2& M);
/// \brief SU(2) rotation of a rotation vector; the zero vector gives Id2.
Matrix2 cart3_to_mat(const Cart3& v);

/// \brief Euclidean length of n reals.
double norm(const double* v, int n);

/// \brief Distance that identifies M and -M: sqrt(min(|a-b|^2, |a+b|^2)) over the vectors
/// (Re m00, Im m01, Re m10, Im m11); the minimum is rounded to single precision.
double proj_trace_dist(const Matrix2& A, const Matrix2& B);

/// \brief Balanced group commutator: V and W rotate by the same angle and V W V^dagger W^dagger
/// = delta (delta in SU(2)).
void group_factor(const Matrix2& delta, Matrix2& V, Matrix2& W);
/// \brief The same for a rotation delta_x about the x axis.
void x_group_factor(const Matrix2& delta_x, Matrix2& V, Matrix2& W);
/// \brief S with S B S^dagger = A, for rotations A and B by the same angle. Throws Exception when
/// the angles differ by 1e-12 or more.
void similarity_matrix(const Matrix2& A, const Matrix2& B, Matrix2& S);

}  // namespace su2
