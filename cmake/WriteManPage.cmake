# Writes the manual page and the bash completion of the built tool from its
# own help texts: help2man turns `brix --help` into the page, and every
# sub-command's help, with its examples, becomes a part of COMMANDS.
# Run with -DBRIX=tool -DHELP2MAN=help2man -DINCLUDE=brix.h2m -DMAN=brix.1 -DCOMPLETION=file.
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${BRIX} --help OUTPUT_VARIABLE help COMMAND_ERROR_IS_FATAL ANY)
string(REGEX REPLACE ".*\nSubcommands:\n" "" listed "${help}")
string(REGEX MATCHALL "\n?  [a-z]+ " names "${listed}")
get_filename_component(folder ${MAN} DIRECTORY)
set(commands "[COMMANDS]\n")
foreach(name ${names})
  string(STRIP "${name}" name)
  execute_process(COMMAND ${BRIX} ${name} --help OUTPUT_VARIABLE text COMMAND_ERROR_IS_FATAL ANY)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "\n([.'])" "\n\\\\&\\1" text "${text}")
  string(APPEND commands ".SS \"brix ${name}\"\n.nf\n${text}.fi\n")
endforeach()
file(WRITE ${folder}/commands.h2m "${commands}")
execute_process(COMMAND ${HELP2MAN} --no-info --section=1
    "--name=the simulated phone for the Brix notification banners"
    --include=${INCLUDE} --include=${folder}/commands.h2m --output=${MAN} ${BRIX}
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${BRIX} --bash-completion OUTPUT_FILE ${COMPLETION} COMMAND_ERROR_IS_FATAL ANY)
