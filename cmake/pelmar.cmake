# Solovay-Kitaev approximation.
target_sources(marovin_lib PRIVATE
  FaultTolerant/pelmar/su2.cpp
  FaultTolerant/pelmar/net.cpp
  FaultTolerant/pelmar/ftpelmar.cpp)
