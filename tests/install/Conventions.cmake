# What a user of command-line tools expects of brix: its version, the error
# for an unknown command, JSON that parses, a manual page naming every
# sub-command with an example, and a bash completion that completes.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
function(expect condition message)
  cmake_language(EVAL CODE "if(${condition})\nelse()\nmessage(FATAL_ERROR [==[${message}]==])\nendif()")
endfunction()

execute_process(COMMAND ${BRIX} --version RESULT_VARIABLE code OUTPUT_VARIABLE version)
expect("code EQUAL 0" "brix --version exited with ${code}")
expect("version MATCHES \"^brix ${VERSION}( \\\\(git [^)]+\\\\))?\\n$\"" "brix --version printed '${version}'")

execute_process(COMMAND ${BRIX} frobnicate --json RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE errors)
expect("code EQUAL 2" "an unknown command exited with ${code}")
expect("errors MATCHES \"unknown command 'frobnicate'\"" "an unknown command said: ${errors}")

execute_process(COMMAND ${BRIX} --help OUTPUT_VARIABLE help)
expect("help MATCHES \"Usage: brix \\\\[\"" "the help names the program by a path:\n${help}")
expect("help MATCHES \"Exit status: 0\"" "the help lists no exit codes:\n${help}")
string(REGEX REPLACE ".*\nSubcommands:\n" "" listed "${help}")
string(REGEX MATCHALL "\n?  [a-z]+ " names "${listed}")
list(LENGTH names count)
expect("count GREATER 5" "the help lists ${count} sub-commands:\n${help}")

# JSON that parses, with the stored value seen in it.
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${BRIX} prefs --device ${WORK}/device set timeToDismiss 3 COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${BRIX} prefs --device ${WORK}/device list --json OUTPUT_VARIABLE json COMMAND_ERROR_IS_FATAL ANY)
string(JSON keys LENGTH "${json}")
expect("keys GREATER 30" "prefs list --json lists ${keys} keys")
string(JSON first GET "${json}" 0 key)
expect("first STREQUAL enabled" "the first key is ${first}")
string(JSON stored GET "${json}" 17 stored)
string(JSON key GET "${json}" 17 key)
expect("key STREQUAL timeToDismiss AND stored EQUAL 3" "${key} stored ${stored}")
string(JSON unset GET "${json}" 0 stored)
expect("unset STREQUAL null OR unset STREQUAL \"\"" "an unstored key shows ${unset}")
execute_process(COMMAND ${BRIX} settings --device ${WORK}/device --json OUTPUT_VARIABLE page COMMAND_ERROR_IS_FATAL ANY)
string(JSON title GET "${page}" title)
string(JSON row GET "${page}" sections 1 rows 0 title)
string(JSON value GET "${page}" sections 1 rows 0 value)
expect("title STREQUAL Brix AND row STREQUAL \"Dismiss after\" AND value STREQUAL 3" "settings --json: ${page}")

# The manual page: every sub-command has its part with an example.
file(READ ${MAN} manual)
foreach(name ${names})
  string(STRIP "${name}" name)
  expect("manual MATCHES \"\\\\.SS \\\"brix ${name}\\\"\"" "the manual page has no part for ${name}")
  expect("manual MATCHES \"Examples:\\n(  [^\\n]*\\n)*  brix ${name}\"" "the manual page has no example of brix ${name}")
endforeach()

# The completion completes sub-commands, nested ones and options.
execute_process(COMMAND bash -c "source '${COMPLETION}'
  COMP_WORDS=(brix pr); COMP_CWORD=1; _brix; echo \"\${COMPREPLY[*]}\"
  COMP_WORDS=(brix prefs l); COMP_CWORD=2; _brix; echo \"\${COMPREPLY[*]}\"
  COMP_WORDS=(brix demo --); COMP_CWORD=2; _brix; echo \"\${COMPREPLY[*]}\""
  OUTPUT_VARIABLE completed COMMAND_ERROR_IS_FATAL ANY)
expect("completed STREQUAL \"prefs\nlist\n--help --out --tour --frames\n\""
  "the completion offered:\n${completed}")
file(REMOVE_RECURSE ${WORK})
