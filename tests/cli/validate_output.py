"""Runs the batch program with ARGUMENT... and validates the JSON on its standard output (one
document, or JSON Lines: each line) against the shipped SCHEMA; then checks that the schema refuses
the (first) document with the member at POINTER (a JSON pointer) written as the text "broken".
Usage: validate_output.py PROGRAM SCHEMA POINTER ARGUMENT..."""
import json, subprocess, sys
import jsonschema

run = subprocess.run([sys.argv[1]] + sys.argv[4:], stdout=subprocess.PIPE, check=False)
schema = json.load(open(sys.argv[2]))
try:
    outputs = [json.loads(run.stdout)]
except json.JSONDecodeError:  # JSON Lines
    outputs = [json.loads(line) for line in run.stdout.splitlines()]
for output in outputs:
    jsonschema.validate(output, schema)
output = outputs[0]
*path, last = sys.argv[3].strip("/").split("/")
member = output
for step in path:
    member = member[int(step) if isinstance(member, list) else step]
member[int(last) if isinstance(member, list) else last] = "broken"
try:
    jsonschema.validate(output, schema)
    sys.exit("the schema took " + sys.argv[3] + " written as text")
except jsonschema.ValidationError:
    pass
