"""Runs the batch program with ARGUMENT... and checks the GeoJSON on its standard output with
python3-geojson's validator, then what QGIS needs to open it as two layers: every feature a Point
(a mark) or a LineString (a join) whose two ends are marks' points, both kinds present, longitudes
and latitudes within their ranges. With --at PSM LONGITUDE LATITUDE, that mark's point must lie
there within 1e-8 degrees (about 1 mm).
Usage: validate_geojson.py PROGRAM [--at PSM LONGITUDE LATITUDE] ARGUMENT..."""
import json, subprocess, sys
import geojson

args, at = sys.argv[2:], None
if args[0] == "--at":
    at, args = (args[1], float(args[2]), float(args[3])), args[4:]
run = subprocess.run([sys.argv[1]] + args, stdout=subprocess.PIPE, check=False)
checked = geojson.loads(run.stdout)  # its objects round coordinates to 6 decimals
assert isinstance(checked, geojson.FeatureCollection), "not a FeatureCollection"
assert checked.is_valid, checked.errors()
features = json.loads(run.stdout)["features"]
points = {tuple(f["geometry"]["coordinates"]): f for f in features
          if f["geometry"]["type"] == "Point"}
lines = [f for f in features if f["geometry"]["type"] == "LineString"]
assert points and lines and len(points) + len(lines) == len(features), "not two layers"
for lon, lat in points:
    assert -180 <= lon <= 180 and -90 <= lat <= 90, (lon, lat)
for line in lines:
    assert all(tuple(end) in points for end in line["geometry"]["coordinates"]), line
if at:
    [mark] = [f for f in points.values() if f["properties"]["psm"] == at[0]]
    lon, lat = mark["geometry"]["coordinates"]
    assert abs(lon - at[1]) < 1e-8 and abs(lat - at[2]) < 1e-8, (lon, lat)
