#!/usr/bin/env bash
# Puts deliberate faults into the logic, one at a time, and runs the normal
# suite against each: a fault that no test notices is a gap in the tests.
# Prints each fault with "caught" or "MISSED", then "caught N of M".
#
#   scripts/mutate.sh            every fault
#   scripts/mutate.sh REGEX      the faults whose names match
#   scripts/mutate.sh -l         list the faults
#
# Builds in build-mutate/ (incrementally), so build/ is left alone. Every
# changed source is restored on exit, however the script ends. A development
# tool: slow (a rebuild and a suite run per fault), not part of CI.
set -euo pipefail
cd "$(dirname "$0")/.."

# One fault a line: name ## file ## text to find (literally, its first
# occurrence; ⏎ stands for a line break) ## its replacement.
faults() {
    cat <<'EOF'
fast-path-off ## src/gears/gear_search.cpp ## bool canSkip() const { ## bool canSkip() const { return false;
driven-bound ## src/gears/gear_search.cpp ## if (d > zmax_ || d < c) return true; ## if (d > zmax_ || d <= c) return true;
set-limit-bound ## src/gears/gear_search.cpp ## result_.sets.size() >= control_->setLimit ## result_.sets.size() > control_->setLimit
best-on-equal ## src/gears/gear_search.cpp ## std::abs(set.error) < std::abs(result_.best.error) ## std::abs(set.error) <= std::abs(result_.best.error)
skip-no-cancel ## src/gears/gear_search.cpp ## if (cancelled()) return;⏎                const double b = secondGears_[i]; ## const double b = secondGears_[i];
run-bound ## src/gears/gear_search.cpp ## wholePart(std::sqrt(below)) + 1 ## wholePart(std::sqrt(below))
pair-test-sign ## src/gears/gear_search.cpp ## wholePart((a * b) / (ratio_ - tolerance_)) - ## wholePart((a * b) / (ratio_ + tolerance_)) -
missing-tooth-c ## src/gears/gear_search.cpp ## t == set.b || t == set.c || ## t == set.b ||
number-digits ## src/gears/number_text.cpp ## appendFormatted(out, value, 15); ## appendFormatted(out, value, 14);
error-digits ## src/gears/number_text.cpp ## static_cast<float>(error)), 7); ## static_cast<float>(error)), 6);
error-single ## src/gears/number_text.cpp ## static_cast<double>(static_cast<float>(error)) ## error
whole-bound ## src/gears/number_text.cpp ## std::abs(value) < 1e15 ## std::abs(value) < 1e16
skip-linefeed ## src/gears/numeric_value.cpp ## c == ' ' || c == '\t' || c == '\n' ## c == ' ' || c == '\t'
exponent-sign ## src/gears/numeric_value.cpp ## if (exponentNegative) exponent = -exponent; ## 
exponent-saturation ## src/gears/numeric_value.cpp ## if (exponent < saturation) exponent = ## exponent =
list-blanks ## src/gears/gear_lines.cpp ## (i < 3 ? 5 : 7) - 2 * ## (i < 3 ? 4 : 7) - 2 *
print-blanks ## src/gears/gear_lines.cpp ## appendBlanks(out, 7 - appendTeeth(out, teeth)); ## appendBlanks(out, 6 - appendTeeth(out, teeth));
print-indent ## src/gears/gear_lines.cpp ## kPrintIndent = "     "; ## kPrintIndent = "    ";
print-heading ## src/gears/gear_lines.cpp ## out.text += kBestSetHeading; ## 
angle-order ## src/gears/differential_ratio.cpp ## ((degrees + minutes / 60) + seconds / 3600) ## (degrees + (minutes / 60 + seconds / 3600))
lathe-operator ## src/gears/differential_ratio.cpp ## (kPi / 4 * in.module) / in.latheModule ## (kPi / 4 * in.module) * in.latheModule
part-teeth-kind ## src/gears/differential_ratio.cpp ## kPartTeethModels[] = {"Y7150", "ZSTZ"}; ## kPartTeethModels[] = {"Y7150"};
part-teeth-bound ## src/differential/differential_calculation.cpp ## if (c.teeth <= 0) { ## if (c.teeth < 0) {
swap-range ## src/ordinary/ordinary_calculation.cpp ## if (inputs.zmin > inputs.zmax) std::swap(inputs.zmin, inputs.zmax); ## 
write-no-flush ## src/platform/file_system.cpp ## if (status == 0) status = fs.flush(file); ## 
leave-temporary ## src/platform/file_system.cpp ##     fs.remove(temporary);⏎    return writeFailure(path, -status); ## ⏎    return writeFailure(path, -status);
catalogue-no-lock ## src/platform/file_system_posix.cpp ## if (::fcntl(file, F_OFD_SETLK, &whole) == 0) return file; ## return file;
create-through-link ## src/platform/file_system_posix.cpp ## O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW ## O_WRONLY | O_CREAT | O_TRUNC
replace-link ## src/platform/file_system_posix.cpp ## S_ISLNK(status.st_mode)) return -ELOOP; ## S_ISLNK(status.st_mode)) {}
folder-permission ## src/platform/file_system.cpp ## return error == EACCES || error == EPERM || error == EROFS; ## return error == EROFS;
plain-temporary-message ## src/platform/file_system.cpp ## if (file < 0 && catalogueFolder && isFolderNotWritable(-file)) ## if (false)
list-line-end ## src/catalogue/machine_list.cpp ## kLineEnd = "\r\n"; ## kLineEnd = "\n";
machine-line-end ## src/catalogue/machine_file.cpp ## kLineEnd = "\r\n"; ## kLineEnd = "\n";
append-after-comma ## src/catalogue/machine_list.cpp ##  && bytes.back() != ',') ## )
reader-crlf ## src/catalogue/field_reader.cpp ## if (bytes[pos] == '\r' && pos + 1 < size && bytes[pos + 1] == '\n') ++pos; ## 
count-bound ## src/catalogue/machine_file.cpp ## if (!(count >= 1) || ## if (!(count >= 0) ||
undo-new-file ## src/catalogue/add_machine.cpp ## fs.remove(machinePath); ## 
undo-old-file ## src/catalogue/add_machine.cpp ## writeWholeFile(lock, machinePath, earlier.bytes); ## 
name-length-bound ## src/catalogue/model_name.cpp ## if (name.size() > kLongestModel) ## if (name.size() >= kLongestModel)
data-cr-line-end ## src/catalogue/machine_data.cpp ## return c == '\r' || c == '\n'; ## return c == '\n';
data-comment-at-start ## src/catalogue/machine_data.cpp ## line = trimmed(line.substr(0, line.find('#'))); ## line = trimmed(line.starts_with('#') ? "" : line);
data-gbk-unchecked ## src/catalogue/machine_data.cpp ## if (text.find("\xEF\xBF\xBD") == std::string::npos) ## if (true)
data-changed-unchecked ## src/catalogue/machine_data.cpp ## if (now.bytes != *openedBytes) ## if (false)
data-note-with-hash ## src/catalogue/machine_data.cpp ## if (value.find('#') != std::string::npos) ## if (false)
json-invalid-utf8 ## src/gears/result_export.cpp ## const std::string valid = validUtf8(utf8); ## const std::string valid(utf8);
margin-bound ## src/gears/set_facts.cpp ## (b + d) - (c + 2)}; ## (b + d) - (c + 1)};
swap-driven-pair ## src/gears/set_facts.cpp ## quadrantMargins(set.a, set.b, set.d, set.c) ## quadrantMargins(set.a, set.b, set.c, set.d)
fraction-sign ## src/gears/set_facts.cpp ## if (denominator < 0) { ## if (denominator > 0) {
ppm-scale ## src/gears/set_facts.cpp ## set.error / wantedRatio * 1e6 ## set.error / wantedRatio * 1e3
nearest-one-neighbour ## src/gears/nearest_set.cpp ## if (above != products.cbegin()) addGroup(above - 1); ## 
nearest-order ## src/gears/nearest_set.cpp ## { return x.smaller < y.smaller; } ## { return x.smaller > y.smaller; }
nearest-later-equal ## src/gears/nearest_set.cpp ## std::abs(set.error) < std::abs(result.set.error) ## std::abs(set.error) <= std::abs(result.set.error)
tolerance-unsearched ## src/gears/nearest_set.cpp ## if (result.end == SearchEnd::TooManySets || hasBestSet(result)) return tolerance; ## return tolerance;
json-key ## src/gears/result_export.cpp ## ",\"reachable\":" ## ",\"reach\":"
json-escape ## src/gears/result_export.cpp ## if (c == '"' || c == '\\') { ## if (c == '"') {
csv-header ## src/gears/result_export.cpp ## 误差,相对误差(ppm)"; ## 误差,相对误差";
csv-extra-skipped ## src/gears/result_export.cpp ## csv += "," + (value ? csvNumber(*value) : ""); ## csv += ",";
tolerance-needed-always ## src/gears/result_export.cpp ## if (!hasBestSet(result) && report.nearest.status ## if (report.nearest.status
exact-shortcut ## src/differential/differential_facts.cpp ## const bool exact = setRatio == context.ratio; ## const bool exact = false;
deviation-sign ## src/differential/differential_facts.cpp ## (*angle - context.helix) ## (context.helix - *angle)
kind-json-name ## src/gears/differential_ratio.cpp ## "part_teeth", ## "partteeth",
cosine-branch ## src/gears/differential_ratio.cpp ## roundedAcos(x), -roundedAcos(x) ## roundedAcos(x), roundedAcos(x)
sine-branch ## src/gears/differential_ratio.cpp ## roundedAsin(x), std::numbers::pi - roundedAsin(x) ## roundedAsin(x), roundedAsin(x)
misspelt-ordinary ## src/shell/calc_command.cpp ## (parsed.mode == "differential" || parsed.mode == "job") && option.size() > 2 ## option.size() > 2
dash-dash ## src/shell/calc_command.cpp ## if (option == "--") { ## if (option == "---") {
printout-with-format ## src/shell/calc_command.cpp ## (parsed.printout && parsed.format != "text") ## (false)
teeth-argument ## src/shell/calc_command.cpp ## (count == 6 || count == 7) ## (count == 6)
overwrite-skips-write ## src/catalogue/add_machine.cpp ## CatalogueResult written =⏎        writeMachineFile( ## CatalogueResult written = listed ? CatalogueResult{} : writeMachineFile(
overwrite-appends ## src/catalogue/add_machine.cpp ## listed ? CatalogueResult{} : appendMachineName ## appendMachineName
mark-kept-on-edit ## src/widgets/field_marks.cpp ## [field] { unmark(field); } ## [] {}
export-failure-silent ## src/widgets/result_list_actions.cpp ## if (!failure.empty()) messages_.show(window, failure); ## 
box-size-bound ## src/catalogue/machine_data.cpp ## > kMaxGearsOfOneSize && tooMany.empty() ## > kMaxGearsOfOneSize + 1 && tooMany.empty()
name-colon ## src/catalogue/model_name.cpp ## hasAny(name, ":*?<>|") ## hasAny(name, "*?<>|")
job-ratio-starts ## src/job/hobbing_job.cpp ## job.differentialRatio = description.ratio(inputs) / job.starts; ## job.differentialRatio = description.ratio(inputs);
correction-index-gears ## src/job/hobbing_job.cpp ##     GearBox left = job.box;⏎    if (job.indexSet)⏎        for (const auto& [gear, count] : gearsOf({&*job.indexSet}))⏎            left[gear] -= count;⏎    if (job.feed ##     GearBox left = job.box;⏎    if (job.feed
deviation-arcmin ## src/job/hobbing_job.cpp ## / kRadiansPerDegree * 3600; ## / kRadiansPerDegree * 60;
compensation-pi ## src/job/hobbing_job.cpp ## / job.starts * std::numbers::pi; ## / job.starts * kPi;
indexing-later-equal ## src/job/differential_indexing.cpp ## (best && e >= *best)) continue; ## (best && e > *best)) continue;
indexing-feed-fit ## src/job/differential_indexing.cpp ## if (!feed.fromBox || stock.fits(gears, 10)) { ## {
indexing-prune ## src/job/differential_indexing.cpp ## crossA.denominator > largestSquare || crossB.denominator > largestSquare) ## crossA.denominator > largestSquare || crossB.denominator > largestSquare || delta.denominator > 40)
EOF
}

if [[ "${1:-}" == "-l" ]]; then
    faults | awk -F' ## ' '{print $1 "  " $2}'
    exit 0
fi
filter="${1:-.}"

build=build-mutate
backup=$(mktemp -d)
restore() {
    if [[ -f "$backup/file" ]]; then
        cp "$backup/file" "$(cat "$backup/path")"
        rm -f "$backup/file"
    fi
}
trap 'restore; rm -rf "$backup"' EXIT
trap 'exit 130' INT TERM

export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
export QT_QPA_PLATFORM=offscreen
unset CI # the print-server test skips itself without a server
# Without the benchmarks, which nothing here runs, and linked by lld where
# it is installed: each fault relinks every test program.
linker=()
command -v ld.lld >/dev/null && linker=(-DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld)
[[ -f $build/CMakeCache.txt ]] ||
    cmake --preset default -B "$build" -DKELVARO_BUILD_BENCHMARKS=OFF "${linker[@]}" >/dev/null

suite() {
    cmake --build "$build" -j2 >"$backup/build.log" 2>&1 || return 2
    ctest --test-dir "$build" -j2 --timeout 120 --stop-on-failure >"$backup/test.log" 2>&1
}

echo "Building and running the suite without faults..."
if ! suite; then
    echo "The suite fails without faults; see $build/ and fix that first." >&2
    cat "$backup/build.log" "$backup/test.log" | tail -30 >&2
    exit 1
fi

caught=0
total=0
missed=()
while IFS=$'\x1f' read -r name file find replace; do
    [[ "$name" =~ $filter ]] || continue
    total=$((total + 1))
    cp "$file" "$backup/file"
    echo "$file" >"$backup/path"
    FIND="$find" REPLACE="$replace" perl -0pi -e \
        'BEGIN { ($f, $r) = ($ENV{FIND}, $ENV{REPLACE}); s/⏎/\n/g for $f, $r } s/\Q$f\E/$r/' "$file"
    if cmp -s "$file" "$backup/file"; then
        echo "$name: does not apply any more (text not found in $file)"
        missed+=("$name")
    else
        start=$SECONDS
        status=0
        suite || status=$?
        if ((status == 2)); then
            echo "$name: does not build" && missed+=("$name")
        elif ((status != 0)); then
            caught=$((caught + 1))
            failed=$(grep -m1 -oE '[0-9]+/[0-9]+ Test +#[0-9]+: [^ ]+ .*(Failed|Timeout|Exception)' \
                "$backup/test.log" | awk '{print $4}')
            echo "$name: caught by ${failed:-?} ($((SECONDS - start)) s)"
        else
            echo "$name: MISSED ($((SECONDS - start)) s)" && missed+=("$name")
        fi
    fi
    restore
done < <(faults | awk -F' ## ' '{print $1 "\x1f" $2 "\x1f" $3 "\x1f" $4}')

# Leave the build matching the sources again.
cmake --build "$build" -j2 >/dev/null 2>&1 || true
echo "caught $caught of $total${missed:+ (missed: ${missed[*]})}"
