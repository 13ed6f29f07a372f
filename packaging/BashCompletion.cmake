# Writes the bash completion of kestralmga-cli from the program's own --help, so that a new
# command or option is completed as soon as the program knows it. The help lists each command
# (a name alone on a line after "Subcommands:") with its options ("    --name ARGUMENT  text")
# and positionals. An argument FILE or PLAN completes file names, DIR folder names, a list
# "a|b|c" its words; any other argument (a number, a PSM) completes nothing.
#   cmake -DPROGRAM=kestralmga-cli -DOUTPUT=kestralmga-cli.bash -P BashCompletion.cmake
cmake_minimum_required(VERSION 3.25)

execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()
string(REPLACE ";" "," help "${help}")
string(REPLACE "[" "(" help "${help}")
string(REPLACE "]" ")" help "${help}")
string(REPLACE "\n" ";" lines "${help}")

set(commands "")
set(command "")
set(in_commands OFF)
set(positional OFF)
foreach(line IN LISTS lines)
  if(line STREQUAL "Subcommands:")
    set(in_commands ON)
  elseif(in_commands AND line MATCHES "^([a-z][a-z0-9-]*)$")
    set(command ${CMAKE_MATCH_1})
    list(APPEND commands ${command})
    set(options_${command} --help)
    set(files_${command} "")
  elseif(command AND line MATCHES "^  (Positionals|Options):$")
    set(positional OFF)
    if(CMAKE_MATCH_1 STREQUAL "Positionals")
      set(positional ON)
    endif()
  elseif(command AND line MATCHES "^    ([^ ].*)$")
    # The option's name and argument end where the aligned description starts (two blanks).
    string(REGEX REPLACE "  .*$" "" usage "${CMAKE_MATCH_1}")
    string(REPLACE " " ";" words "${usage}")
    list(GET words 0 name)
    list(LENGTH words count)
    set(argument "")
    if(count GREATER 1)
      list(GET words 1 argument)
      if(argument MATCHES "^(Excludes:|Needs:|REQUIRED)$")
        set(argument "")
      endif()
    endif()
    if(positional)
      set(argument ${name})
      set(name "")
    else()
      list(APPEND options_${command} ${name})
    endif()
    set(kind "")
    if(argument MATCHES "^(FILE|PLAN)$")
      set(kind "_kestralmga_cli_files")
    elseif(argument STREQUAL "DIR")
      set(kind "_kestralmga_cli_files -d")
    elseif(argument MATCHES "\\|")
      string(REPLACE "|" " " choices "${argument}")
      set(kind "_kestralmga_cli_words '${choices}'")
    endif()
    if(positional)
      set(files_${command} "${kind}")
    elseif(kind)
      string(APPEND cases_${command} "        ${name}) ${kind}; return ;;\n")
    elseif(NOT argument STREQUAL "")
      string(APPEND cases_${command} "        ${name}) return ;;\n")
    endif()
  endif()
endforeach()
if(NOT commands)
  message(FATAL_ERROR "${PROGRAM} --help names no command")
endif()

list(JOIN commands " " command_words)
list(JOIN commands "|" command_pattern)
set(script "# bash completion for kestralmga-cli, written from its --help when the program was built.

_kestralmga_cli_words() {
    mapfile -t COMPREPLY < <(compgen -W \"$1\" -- \"$cur\")
}

_kestralmga_cli_files() {
    compopt -o filenames 2>/dev/null
    mapfile -t COMPREPLY < <(compgen \"\${1:--f}\" -- \"$cur\")
}

_kestralmga_cli() {
    local cur=\${COMP_WORDS[COMP_CWORD]} prev=\${COMP_WORDS[COMP_CWORD-1]} command='' i
    COMPREPLY=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        case \${COMP_WORDS[i]} in
        ${command_pattern}) command=\${COMP_WORDS[i]}; break ;;
        esac
    done
    case $command in
    '')
        _kestralmga_cli_words '${command_words} --help --version'
        ;;
")
foreach(command IN LISTS commands)
  list(JOIN options_${command} " " option_words)
  set(rest "[[ $cur == -* ]] && _kestralmga_cli_words '${option_words}'")
  if(files_${command})
    set(rest "if [[ $cur == -* ]]; then _kestralmga_cli_words '${option_words}'; else ${files_${command}}; fi")
  endif()
  string(APPEND script "    ${command})
        case $prev in
${cases_${command}}        esac
        ${rest}
        ;;
")
endforeach()
string(APPEND script "    esac
    return 0
}
complete -F _kestralmga_cli kestralmga-cli
")
file(WRITE "${OUTPUT}" "${script}")
