OPENQASM 2.0;
include "qelib1.inc";
// A three-qubit GHZ state on two registers, a phase kick-back through a user gate, and
// measurements (which the program keeps after the synthesised circuit).
gate kick(theta) c, t { cu1(theta/2) c, t; rz(-theta/4) t; }
qreg a[2];
qreg b[1];
creg m[3];
h a[0];
cx a[0], a[1];
cx a[1], b[0];
kick(pi/3) a[0], b[0];
ry(0.3) b;
barrier a, b;
measure a[0] -> m[0];
measure a[1] -> m[1];
measure b[0] -> m[2];
