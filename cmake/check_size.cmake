# Fails when the program outgrows its size budget: cmake -DFILE=<exe> -DBUDGET=<bytes> -P ...
# An Authenticode signature appended after linking does not count: its size follows the
# certificate chain, not the program.
function(read_le32 offset out)
  file(READ "${FILE}" hex OFFSET ${offset} LIMIT 4 HEX)
  string(SUBSTRING "${hex}" 0 2 b0)
  string(SUBSTRING "${hex}" 2 2 b1)
  string(SUBSTRING "${hex}" 4 2 b2)
  string(SUBSTRING "${hex}" 6 2 b3)
  math(EXPR value "0x${b3}${b2}${b1}${b0}")
  set(${out} ${value} PARENT_SCOPE)
endfunction()

file(SIZE "${FILE}" size)
read_le32(60 pe)
# The certificate table is data directory 4 of the 32-bit optional header.
math(EXPR certificate_size_at "${pe} + 24 + 96 + 4 * 8 + 4")
read_le32(${certificate_size_at} certificate)
math(EXPR program "${size} - ${certificate}")
if(program GREATER BUDGET)
  message(FATAL_ERROR "${FILE}: ${program} bytes, over its budget of ${BUDGET} bytes")
endif()
message(STATUS "${FILE}: ${program} bytes, budget ${BUDGET} bytes")
