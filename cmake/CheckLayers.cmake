# The layer check (cmake -DSOURCE_DIR=<root> [-DFILES=a.cpp,b.h] -P this
# file): every include of the project's own headers must point down the
# layer order, and only platform/ may talk to the operating system. A breach
# stops with the file, the line and the rule it breaks.
#
# FILES, paths relative to SOURCE_DIR separated by commas, are the files one
# target holds (the build runs the check before each target compiles);
# without it every file of the layers is checked.
#
# Order, lowest first (docs/architecture.md):
#   core  <  platform  <  framework/net < framework/app < framework/ui
#   < framework/shell  <  quotes, trade (apart from each other)  <  tools
#   <  tests, bench, fuzz (nothing in the layers includes them)
#
# An include is taken as the compiler takes it: "x.h" first beside the
# including file (so "../ui/X.h" is the folder's neighbour), then from the
# source root; <x.h> from the source root, or else a system header.
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
  "tools" 7
  "tests" 8
  "bench" 8
  "fuzz" 8)

# The layer of a normalised path relative to the source root, or "" outside
# the layers.
function(layer_of path out)
  set(result "")
  foreach(prefix framework/net framework/app framework/ui framework/shell
                 core platform quotes trade tools tests bench fuzz)
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
  "unistd.h" "fcntl.h" "poll.h" "netdb.h" "dirent.h" "dlfcn.h" "pthread.h" "signal.h" "csignal"
  "termios.h" "pwd.h" "grp.h" "spawn.h" "syslog.h" "ifaddrs.h" "ftw.h" "glob.h"
  "sys/[a-z_]+\\.h" "netinet/[a-z_]+\\.h" "arpa/[a-z_]+\\.h" "linux/[a-z_/]+\\.h"
  "fstream" "filesystem" "SDL.*")
list(JOIN os_headers "|" os_pattern)

# C library calls that reach files or the environment (<cstdio>, <stdio.h>,
# <cstdlib>): a name not preceded by a member access or another scope.
set(os_calls
  "fopen" "fopen64" "freopen" "fdopen" "fclose" "fread" "fwrite" "fseek" "ftell" "rename"
  "tmpfile" "tmpnam" "popen" "pclose" "mkstemp" "mkdtemp"
  "getenv" "secure_getenv" "setenv" "unsetenv" "putenv")
list(JOIN os_calls "|" calls_pattern)
set(call_regex "[^A-Za-z0-9_.>:](std::|::)?(${calls_pattern})[ \t]*\\(")
# remove() of one argument; the algorithm std::remove takes three.
set(remove_regex "[^A-Za-z0-9_.>:](std::|::)?(remove)[ \t]*\\(([^(),]|\\([^()]*\\))*\\)")

# The simulator stands in for the broker's server and keeps its own POSIX
# sockets (its faults need byte-exact control of the server side): its
# folder may include system headers, though not make the calls above.
set(os_header_exempt "^tools/simulator/")

# Where an include written in file lands, relative to the source root, or ""
# when it names no file of the tree (a system or library header).
function(resolve_include file spelling name out)
  get_filename_component(dir "${file}" DIRECTORY)
  cmake_path(NORMAL_PATH name OUTPUT_VARIABLE from_root)
  if(spelling STREQUAL "\"")
    if(dir STREQUAL "")
      set(beside "${name}")
    else()
      set(beside "${dir}/${name}")
    endif()
    cmake_path(NORMAL_PATH beside)
    if(EXISTS "${SOURCE_DIR}/${beside}" AND NOT beside MATCHES "^\\.\\./")
      set(${out} "${beside}" PARENT_SCOPE)
      return()
    endif()
  endif()
  layer_of("${from_root}" layer)
  if(NOT layer STREQUAL "")
    set(${out} "${from_root}" PARENT_SCOPE)
  elseif(spelling STREQUAL "\"" AND name MATCHES "(^|/)\\.\\./" AND NOT beside MATCHES "^\\.\\./")
    # A climb out of the folder names a neighbour even before it exists.
    set(${out} "${beside}" PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

if(NOT DEFINED SOURCE_DIR)
  message(FATAL_ERROR "CheckLayers.cmake: give -DSOURCE_DIR=<source root>")
endif()
if(DEFINED FILES)
  string(REPLACE "," ";" files "${FILES}")
else()
  file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}"
    "${SOURCE_DIR}/core/*" "${SOURCE_DIR}/platform/*" "${SOURCE_DIR}/framework/*"
    "${SOURCE_DIR}/quotes/*" "${SOURCE_DIR}/trade/*" "${SOURCE_DIR}/tools/*")
  list(FILTER files INCLUDE REGEX "\\.(h|cpp)$")
endif()

set(breaches "")
foreach(file IN LISTS files)
  if(IS_ABSOLUTE "${file}")
    file(RELATIVE_PATH file "${SOURCE_DIR}" "${file}")
  endif()
  layer_of("${file}" from)
  if(from STREQUAL "")
    string(APPEND breaches "  ${file}: outside the layers\n")
    continue()
  endif()
  rank_of("${from}" from_rank)
  set(os_calls_allowed FALSE)
  set(os_headers_allowed FALSE)
  if(from STREQUAL "platform")
    set(os_calls_allowed TRUE)
    set(os_headers_allowed TRUE)
  elseif(file MATCHES "${os_header_exempt}")
    set(os_headers_allowed TRUE)
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" lines ENCODING UTF-8)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*#[ \t]*include(_next)?[ \t]*([<\"])([^>\"]+)[>\"]")
      set(spelling "${CMAKE_MATCH_2}")
      set(name "${CMAKE_MATCH_3}")
      resolve_include("${file}" "${spelling}" "${name}" target)
      if(NOT target STREQUAL "")
        layer_of("${target}" to)
        if(to STREQUAL "")
          continue()
        endif()
        rank_of("${to}" to_rank)
        if(to_rank GREATER from_rank)
          string(APPEND breaches "  ${file}: ${from} may not include ${target} (${to} is above it): ${line}\n")
        elseif(to_rank EQUAL from_rank AND NOT to STREQUAL from)
          string(APPEND breaches "  ${file}: ${from} and ${to} stay apart: ${line}\n")
        endif()
      elseif(NOT os_headers_allowed AND name MATCHES "^(${os_pattern})$")
        string(APPEND breaches "  ${file}: only platform/ talks to the operating system: ${line}\n")
      endif()
    elseif(NOT os_calls_allowed)
      # Calls, with comments and literals left out.
      string(REGEX REPLACE "'(\\\\.|[^'\\\\])'" "''" code "${line}")
      string(REGEX REPLACE "\"(\\\\.|[^\"\\\\])*\"" "\"\"" code "${code}")
      string(REGEX REPLACE "//.*$" "" code "${code}")
      set(call "")
      if(" ${code}" MATCHES "${call_regex}")
        set(call "${CMAKE_MATCH_2}")
      elseif(" ${code}" MATCHES "${remove_regex}")
        set(call "${CMAKE_MATCH_2}")
      endif()
      if(NOT call STREQUAL "")
        string(STRIP "${line}" shown)
        string(APPEND breaches
          "  ${file}: only platform/ talks to the operating system (${call}): ${shown}\n")
      endif()
    endif()
  endforeach()
endforeach()

if(NOT breaches STREQUAL "")
  message(FATAL_ERROR "Layer order broken:\n${breaches}")
endif()
