# The driver's entry is driver/main.cpp (the marovin executable).
