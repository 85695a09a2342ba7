# Exhaustive fault-tolerant sequence search.
