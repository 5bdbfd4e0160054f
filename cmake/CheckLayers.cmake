# The layer check, run as a build step (cmake -DSOURCE_DIR=... -P this file):
# every include of the project's own headers must point down the layer
# order, and only platform/ may include the operating system's headers. A
# breach stops the build with the file, the line and the rule it breaks.
#
# Order, lowest first (docs/architecture.md):
#   core  <  platform  <  framework/net < framework/app < framework/ui
#   < framework/shell  <  quotes, trade (apart from each other)  <  tools
cmake_minimum_required(VERSION 3.25)

set(ranks
  "core" 0
  "platform" 1
  "framework/net" 2
  "framework/app" 3
  "framework/ui" 4
  "framework/shell" 5
  "quotes" 6
  "trade" 6
  "tools" 7)

# The layer of a path relative to the source root, or "" outside the layers.
function(layer_of path out)
  set(result "")
  foreach(prefix framework/net framework/app framework/ui framework/shell core platform quotes trade tools)
    string(LENGTH "${prefix}/" n)
    string(SUBSTRING "${path}" 0 ${n} head)
    if(head STREQUAL "${prefix}/")
      set(result "${prefix}")
      break()
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

function(rank_of layer out)
  list(FIND ranks "${layer}" i)
  math(EXPR j "${i} + 1")
  list(GET ranks ${j} r)
  set(${out} ${r} PARENT_SCOPE)
endfunction()

# System headers that mean talking to the operating system directly.
set(os_headers
  "unistd.h" "fcntl.h" "poll.h" "netdb.h" "dirent.h" "dlfcn.h" "pthread.h" "signal.h" "termios.h"
  "sys/[a-z_]+\\.h" "netinet/[a-z_]+\\.h" "arpa/[a-z_]+\\.h" "fstream" "filesystem" "SDL.*")
list(JOIN os_headers "|" os_pattern)

file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
  "${SOURCE_DIR}/core/*" "${SOURCE_DIR}/platform/*" "${SOURCE_DIR}/framework/*"
  "${SOURCE_DIR}/quotes/*" "${SOURCE_DIR}/trade/*")
set(breaches "")
foreach(file IN LISTS files)
  if(NOT file MATCHES "\\.(h|cpp)$")
    continue()
  endif()
  layer_of("${file}" from)
  rank_of("${from}" from_rank)
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
      set(target "${CMAKE_MATCH_1}")
      layer_of("${target}" to)
      if(to STREQUAL "")
        continue()
      endif()
      rank_of("${to}" to_rank)
      if(to_rank GREATER from_rank)
        string(APPEND breaches "  ${file}: ${from} may not include ${target} (${to} is above it)\n")
      elseif(to_rank EQUAL from_rank AND NOT to STREQUAL from)
        string(APPEND breaches "  ${file}: ${from} and ${to} stay apart (${target})\n")
      endif()
    elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
      set(target "${CMAKE_MATCH_1}")
      if(NOT from STREQUAL "platform" AND target MATCHES "^(${os_pattern})$")
        string(APPEND breaches "  ${file}: only platform/ talks to the operating system (<${target}>)\n")
      endif()
    endif()
  endforeach()
endforeach()

if(NOT breaches STREQUAL "")
  message(FATAL_ERROR "Layer order broken:\n${breaches}")
endif()
