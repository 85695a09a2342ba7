# Solovay-Kitaev approximation.
