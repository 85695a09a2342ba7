OPENQASM 2.0;
include "qelib1.inc";
qreg q[2];
creg c[2];
gate g(t) a,b { cu1(t/2) a,b; rx(-t) b; }
h q;
g(pi/3) q[0],q[1];
cu3(0.1,0.2,0.3) q[1],q[0];
measure q -> c;
