# The 32-bit core computes with SSE2 alone: no x87 arithmetic, whose extended
# precision would round some results twice. Loads and stores of doubles and
# 64-bit integers (exact, or rounded once) stay, as the calling convention
# returns doubles on the x87 stack.
#   cmake -DOBJDUMP=... -DLIBRARY=libqvcore.a -P check_no_x87.cmake
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${LIBRARY}
  OUTPUT_VARIABLE listing RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[\t ](fadd|faddp|fiadd|fsub|fsubr|fsubp|fsubrp|fisub|fmul|fmulp|fimul|fdiv|fdivr|fdivp|fdivrp|fidiv|fsqrt|frndint|fprem|fprem1|fscale|fsin|fcos|fsincos|fptan|fpatan|f2xm1|fyl2x|fyl2xp1|fist|fistp|fisttp)[a-z]*[\t ][^\n]*"
  found "${listing}")
list(LENGTH found count)
if(count GREATER 0)
  list(SUBLIST found 0 10 first)
  string(REPLACE ";" "\n" first "${first}")
  message(FATAL_ERROR "${count} x87 arithmetic instructions in ${LIBRARY}, the first:\n${first}")
endif()
message(STATUS "no x87 arithmetic in ${LIBRARY}")
