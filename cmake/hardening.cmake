# Hardening adds only tests, fuzz targets and scripts.
