"""Runs the batch program's diagnose --format json and validates its output against the shipped
schema; then checks that the schema refuses the same output with a count written as text.
Usage: validate_diagnosis.py PROGRAM SCHEMA ARGUMENT..."""
import json, subprocess, sys
import jsonschema

run = subprocess.run([sys.argv[1], "diagnose", "--format", "json"] + sys.argv[3:],
                     stdout=subprocess.PIPE, check=False)
schema, output = json.load(open(sys.argv[2])), json.loads(run.stdout)
jsonschema.validate(output, schema)
assert output["suspects"] and output["renumbering"] and output["plan_checks"], "empty findings"
output["summary"]["joins_judged"] = str(output["summary"]["joins_judged"])
try:
    jsonschema.validate(output, schema)
    sys.exit("the schema took a count written as text")
except jsonschema.ValidationError:
    pass
