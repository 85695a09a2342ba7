# Solovay-Kitaev approximation.
target_sources(marovin_lib PRIVATE
  FaultTolerant/pelmar/ftpelmar.cpp)
