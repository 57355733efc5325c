#!/usr/bin/env bash
# The robustness suite at full size: 10,000 generated field texts, a 50 MB
# settings file, every registry type with every size from 0 to 1,025 bytes,
# 10,000 applies and 200 About dialogs watched for leaks, and a hold of 30
# minutes beside the rest; about half an hour in all. Prints a table at the
# end; exits non-zero when a check failed. The ordinary test run
# (scripts/test.sh) runs the same suite with reduced sizes as the ctest
# entries "robust" and "robust_hold".
#   scripts/robustness.sh            full run
#   HORLOMAT_ROBUST_SEED=7 scripts/robustness.sh   other field texts
source "$(dirname "$0")/common.sh"

ensure_packages
build
start_wine_session

out=$BUILD/robustness
mkdir -p "$out"
log "Full robustness run; logs in $out"

# Runs one ctest entry's command with its environment, at full size.
run_entry() {
    local name=$1
    python3 - "$BUILD" "$name" <<'EOF'
import json, os, subprocess, sys
build, name = sys.argv[1], sys.argv[2]
tests = json.loads(subprocess.check_output(["ctest", "--show-only=json-v1", "-R", "^%s$" % name], cwd=build))["tests"]
test = tests[0]
env = dict(os.environ, HORLOMAT_ROBUST="full")
cwd = build
for p in test.get("properties", []):
    if p["name"] == "ENVIRONMENT":
        env.update(v.split("=", 1) for v in p["value"])
    elif p["name"] == "ENVIRONMENT_MODIFICATION":
        for v in p["value"]:
            name, op = v.split("=", 1)
            if op.startswith("set:"):
                env[name] = op[4:]
    elif p["name"] == "WORKING_DIRECTORY":
        cwd = p["value"]
sys.exit(subprocess.call(test["command"], env=env, cwd=cwd))
EOF
}

started=$(date +%s)
run_entry robust_hold >"$out/robust_hold.log" 2>&1 &
hold_pid=$!
status=0
run_entry robust >"$out/robust.log" 2>&1 || status=1
log "Waiting for the 30-minute hold to end"
wait "$hold_pid" || status=1
elapsed=$(( $(date +%s) - started ))

grep -h '^\[  FAILED  \]' "$out/robust.log" "$out/robust_hold.log" | sort -u >&2 || true
grep -h '^ROBUST|' "$out/robust.log" "$out/robust_hold.log" | python3 -c '
import sys
rows = [line.rstrip("\n").split("|")[1:] for line in sys.stdin]
head = ["Part", "Inputs", "Crashes", "Hangs", "Files lost/wrong", "Leak deltas (after warm-up)"]
table = [head] + [r[:6] for r in rows]
width = [max(len(r[i]) for r in table) for i in range(len(head))]
rule = "+" + "+".join("-" * (w + 2) for w in width) + "+"
print(rule)
for n, r in enumerate(table):
    print("| " + " | ".join(c.ljust(w) for c, w in zip(r, width)) + " |")
    if n == 0:
        print(rule)
print(rule)
print("Notes:")
for r in rows:
    if len(r) > 6 and r[6]:
        print("  " + r[0] + ": " + r[6])
'
log "Full run took $((elapsed / 60)) min $((elapsed % 60)) s; $( [ $status -eq 0 ] && echo 'all checks passed' || echo 'CHECKS FAILED, see the logs' )"
exit $status
