# Reshapes kestralmga-cli --help for help2man: the commands listed under "Commands:", then each
# command's options (and arguments) as a section of their own, each line indented as help2man
# expects. Text before "Subcommands:" passes unchanged.
/^Subcommands:$/ { listing = 1; next }
!listing { print; next }
/^[a-z][a-z0-9-]*$/ { command = $0; described = 0; next }
!described && /^  [^ ]/ {
  sub(/^  /, "")
  commands = commands sprintf("  %-28s%s\n", command, $0)
  described = 1
  next
}
/^  Options:$/ { sections = sections "\n" command " options:\n"; next }
/^  Positionals:$/ { sections = sections "\n" command " arguments:\n"; next }
/^    / { sections = sections substr($0, 3) "\n"; next }
END { printf "Commands:\n%s%s", commands, sections }
