#!/usr/bin/env bash
# Whole-pipeline checks of tools/release.sh, run by ctest inside the Wine session:
#   check-release.sh SESSION_DIR WINDOW_TESTS_EXE
# The tree as it is now is copied to two folders: released in one, and verified minutes
# later from the other, which rebuilds it: every comparable file the same, a changed byte
# found. A release signed with an empty password, run from elsewhere with relative paths,
# verifies against its certificate, still starts and shows its window, and differs from
# the unsigned one only by its signature; no program the script starts sees the password;
# the archives hold what they should; the package manifests name the zips by their
# hashes; bad input fails with its cause and keeps what was there. The first release is kept
# in build/release-check for a look or an artefact, with test bundles of the Windows builds
# the test command made: the releases here build no test programs, which those builds have
# built and run already.
# The checks hand their commands to eval in single quotes on purpose.
# shellcheck disable=SC2016
set -uo pipefail
session=$1 window_tests=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

check() {
    local what=$1
    shift
    if "$@" >>"$work/check.log" 2>&1; then
        echo "PASS $what"
        passed=$((passed + 1))
    else
        echo "FAIL $what"
        tail -n 15 "$work/check.log" | sed 's/^/    /'
        failed=$((failed + 1))
    fi
    : >"$work/check.log"
}

# A copy of the tree with its uncommitted changes and untracked files, so the checks
# see what the developer sees. They are committed there at HEAD's time by one made-up
# author, the same commit in every copy: a -dirty release would have no package manifests.
copy_tree() {
    git clone -q "$root" "$1" || return 1
    git -C "$root" diff HEAD --binary | git -C "$1" apply --allow-empty || return 1
    git -C "$root" ls-files -z --others --exclude-standard | (cd "$root" && xargs -0 -r cp --parents -t "$1")
    [ -z "$(git -C "$1" status --porcelain)" ] && return 0
    local when
    when="$(git -C "$1" log -1 --format=%ct HEAD) +0000"
    git -C "$1" add -A &&
        GIT_AUTHOR_DATE=$when GIT_COMMITTER_DATE=$when git -C "$1" -c user.name="Release check" \
            -c user.email=release-check@example.invalid commit -q -m "The tree as checked"
}

# FOLDER LOG [VAR=VALUE ...] COMMAND...: run in FOLDER with none of the caller's settings.
clean_run() {
    local folder=$1 log=$2
    shift 2
    (cd "$folder" && env -u SOURCE_DATE_EPOCH -u VANTREL_SIGN_PFX -u VANTREL_SIGN_PASSWORD \
        -u VANTREL_SIGN_TIMESTAMP_URL "$@") >"$log" 2>&1
}

# A repository address of the release's own, which the verifier must take from BUILDINFO.txt.
repository=https://github.com/example/vantrel
# FOLDER LOG [VAR=VALUE ...]: the release in FOLDER with that environment, without its
# test programs, which a release builds once more from scratch.
release() {
    local options=(--no-tests --repository "$repository")
    local folder=$1 log=$2
    shift 2
    clean_run "$folder" "$log" "$@" bash tools/release.sh "${options[@]}"
}

# Stands in for a program the release starts: records the environment it was given.
spy=$work/spy
mkdir -p "$spy"
cat >"$spy/record-environment" <<'SPY'
#!/usr/bin/env bash
{ echo "== ${0##*/}"; env; } >>"$SPY_LOG"
PATH=${PATH#*:} exec "${0##*/}" "$@"
SPY
chmod +x "$spy/record-environment"
for program in dpkg-query cmake openssl osslsigncode; do ln -s record-environment "$spy/$program"; done

no_release_in() { ! compgen -G "$1/Vantrel-*.zip" >/dev/null && [ ! -e "$1/SHA256SUMS" ]; }

# A run that must fail before it builds: its cause named, no release left behind.
refused() { # EXPECTED_TEXT OUTPUT_DIR VAR=VALUE...
    local expected=$1 output=$2
    shift 2
    ! release "$a" "$work/refused.log" "$@" && grep -q -- "$expected" "$work/refused.log" &&
        no_release_in "$output"
}

version=$(sed -n 's/^project(Vantrel VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
a=$work/a b=$work/b
check "copy the tree twice" eval 'copy_tree "$a" && copy_tree "$b"'

# --- Bad input: each stops before the build.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Vantrel test signing" \
    -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
    -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
VANTREL_TEST_PASSWORD=throwaway openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" \
    -passout env:VANTREL_TEST_PASSWORD -out "$work/sign.pfx"
out=$a/build/release
check "a SOURCE_DATE_EPOCH that is no number is refused" \
    refused "SOURCE_DATE_EPOCH must be a whole number" "$out" SOURCE_DATE_EPOCH=yesterday
check "a password without a certificate is refused" \
    refused "signing needs VANTREL_SIGN_PFX" "$out" VANTREL_SIGN_PASSWORD=x
check "a certificate without a password is refused" \
    refused "signing needs VANTREL_SIGN_PASSWORD" "$out" VANTREL_SIGN_PFX="$work/sign.pfx"
check "a missing certificate file is refused" \
    refused "no such file" "$out" VANTREL_SIGN_PFX="$work/none.pfx" VANTREL_SIGN_PASSWORD=x
check "a wrong password is refused" \
    refused "wrong password" "$out" VANTREL_SIGN_PFX="$work/sign.pfx" VANTREL_SIGN_PASSWORD=wrong
touch "$work/a-file"
check "an output folder that cannot be made is refused, and without --repository the manifests' placeholder is named" eval \
    '! (cd "$a" && bash tools/release.sh "$work/a-file/release") >"$work/no-folder.log" 2>&1 &&
     grep -q "cannot create the output folder" "$work/no-folder.log" &&
     grep -q "the package manifests name the placeholder https://github.com/OWNER/vantrel" "$work/no-folder.log"'
check "a repository address that is not https is refused" eval \
    '! clean_run "$a" "$work/refused.log" bash tools/release.sh --repository http://github.com/example/vantrel &&
     grep -q "must be an https address" "$work/refused.log" && no_release_in "$out"'

# --- The release, and its verification from another clone minutes later, which rebuilds it.
check "first release" release "$a" "$work/a.log"
check "the first release verifies from another clone: every comparable file the same" eval \
    'clean_run "$b" "$work/verify.log" tools/verify-release.sh "$a/build/release" &&
     grep -q "^all 8 compared files are the same as the rebuild$" "$work/verify.log" ||
     { cat "$work/verify.log"; false; }'
check "the release says it is unsigned" grep -q "is not signed" "$work/a.log"

rel=$a/build/release
name=Vantrel-$version
# The copies are committed (copy_tree): the release is never -dirty.
# EXE SYMBOLS_ZIP BINUTILS_PREFIX: the exe names its debug file, which has the stack
# protector and checked copies (i686 symbols carry a leading underscore). A checked copy
# shows as a __*_chk function, such as __memcpy_chk; not as the failure handler
# __chk_fail, which the stack protector's runtime (libssp's ssp.o) brings along anyway.
hardened_debug_file() {
    "$3-objdump" -s -j .gnu_debuglink "$1" | grep -q "Vantrel.exe.debu" &&
        unzip -p "$2" Vantrel.exe.debug >"$work/debug" && "$3-nm" "$work/debug" >"$work/symbols" &&
        grep -Eq " _?__stack_chk_fail$" "$work/symbols" &&
        grep -Eq " _?__[a-z0-9]+_chk$" "$work/symbols"
}

rm -rf "$root/build/release-check" && mkdir -p "$root/build" && cp -r "$rel" "$root/build/release-check"
built=$(cd "$(dirname "$window_tests")/../.." && pwd)
# Each machine's build: its zips, the exe that went into its zip, and the test bundle for a
# real Windows written with that exe around the test command's build of that machine.
for arch in x64 x86; do
    if [ "$arch" = x64 ]; then exe=$rel/Vantrel.exe binutils=x86_64-w64-mingw32 from=$built; else
        exe=$a/build/release-build-$arch/app/Vantrel.exe binutils=i686-w64-mingw32 from=$root/build/windows-$arch; fi
    check "the $arch archives hold what they should, sorted, dated and plain" \
        python3 "$root/tests/release/check_archives.py" "$rel/$name-windows-$arch.zip" \
        "$rel/$name-windows-$arch-symbols.zip" "$exe" "$(git -C "$root" log -1 --format=%ct)"
    check "the $arch exe names its debug file, which has the stack protector and checked copies" \
        hardened_debug_file "$exe" "$rel/$name-windows-$arch-symbols.zip" "$binutils"
    check "the $arch test bundle is written with the released exe" \
        "$root/tools/test-bundle.sh" "$from" "$root/build/release-check/$name-windows-$arch-tests.zip" "$exe"
done
check "the package manifests name both zips by their hashes, as winget and Scoop require" \
    python3 "$root/tests/release/check_manifests.py" "$rel" "${name#Vantrel-}" "$repository" \
    "$(git -C "$root" log -1 --format=%ct)"
check "SHA256SUMS verifies every file it lists, BUILDINFO.txt too" eval \
    '(cd "$rel" && sha256sum -c --strict SHA256SUMS && grep -q " BUILDINFO.txt$" SHA256SUMS)'
check "BUILDINFO.txt names the commit, the time, the repository and both compilers' exact versions" eval \
    'grep -q "^commit $(git -C "$a" rev-parse HEAD)" "$rel/BUILDINFO.txt" &&
     grep -qx "repository $repository" "$rel/BUILDINFO.txt" &&
     grep -qx "SOURCE_DATE_EPOCH $(git -C "$root" log -1 --format=%ct)" "$rel/BUILDINFO.txt" &&
     grep -qx "g++-mingw-w64-x86-64-posix $(dpkg-query -W -f="\${Version}" g++-mingw-w64-x86-64-posix)" \
        "$rel/BUILDINFO.txt" &&
     grep -qx "g++-mingw-w64-i686-posix $(dpkg-query -W -f="\${Version}" g++-mingw-w64-i686-posix)" \
        "$rel/BUILDINFO.txt"'

# NAME COMMAND...: a copy of the first release changed by COMMAND, run in it, with its
# SHA256SUMS made to match, as whoever replaced the files would.
altered_copy() {
    local copy=$work/$1
    shift
    cp -r "$rel" "$copy" && (cd "$copy" && "$@" && cut -c67- SHA256SUMS | xargs sha256sum >SHA256SUMS.new &&
        mv SHA256SUMS.new SHA256SUMS)
}
zip_name=$name-windows-x64.zip
altered_copy changed python3 -c 'import sys; d = bytearray(open(sys.argv[1], "rb").read()); d[2000] ^= 1
open(sys.argv[1], "wb").write(d)' "$zip_name"
check "the verifier names the zip with one changed byte, and only that file" eval \
    '! python3 "$root/tools/compare_release.py" "$work/changed" "$b/build/verify" >"$work/changed.log" &&
     grep -qx "$zip_name: differs" "$work/changed.log" && grep -qx "1 of 8 compared files differ" "$work/changed.log"'

altered_copy other-tools sed -i -e 's/^cmake .*/cmake 0.1-1/' -e 's/^Debian .*/Debian 99.1/' BUILDINFO.txt
check "the verifier names a tool whose version differs from this machine's, and the Debian to rebuild on" eval \
    '! python3 "$root/tools/compare_release.py" "$work/other-tools" "$b/build/verify" >"$work/other-tools.log" &&
     grep -q "^  cmake: the release was built with 0.1-1, this machine has $(dpkg-query -W -f="\${Version}" cmake)$" \
        "$work/other-tools.log" &&
     grep -qx "the rebuild.s toolchain differs from the release.s: the same bytes need Debian 99.1 with the versions above" \
        "$work/other-tools.log"'

# --- Signing. A previous release in the output folder must outlive a failed run.
mkdir -p "$b/build/release" && cp -p "$rel"/* "$b/build/release/"
check "a failed signing keeps the previous release as it was, and no half-written file" eval \
    '! release "$b" "$work/b-bad.log" PATH="$spy:$PATH" SPY_LOG="$work/spy.log" \
        VANTREL_SIGN_PFX="$work/sign.pfx" VANTREL_SIGN_PASSWORD=throwaway VANTREL_SIGN_TIMESTAMP_URL=http://127.0.0.1:9/ &&
     grep -q "signing failed" "$work/b-bad.log" &&
     diff <(cd "$rel" && sha256sum -- * | sort) <(cd "$b/build/release" && sha256sum -- * | sort) &&
     [ -z "$(find "$b/build/release" -name ".*" -print -quit)" ]'
check "no program the release starts sees the signing password" eval \
    'grep -q "^== cmake$" "$work/spy.log" && grep -q "^== osslsigncode$" "$work/spy.log" &&
     ! grep -e VANTREL_SIGN_PASSWORD -e throwaway "$work/spy.log"'
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -passout pass: -out "$work/empty-password.pfx"
check "a release signed with an empty password, run from another folder with relative paths" eval \
    'clean_run "$work" "$work/signed.log" VANTREL_SIGN_PFX=empty-password.pfx VANTREL_SIGN_PASSWORD= \
        bash b/tools/release.sh --no-tests --repository "$repository" signed-release &&
     grep -q "WARNING: no VANTREL_SIGN_TIMESTAMP_URL" "$work/signed.log"'
signed=$work/signed-release/Vantrel.exe
check "the signature verifies against the certificate" \
    osslsigncode verify -CAfile "$work/cert.pem" -in "$signed"
check "the signature is the only difference" \
    python3 "$root/tools/signature_only_difference.py" "$signed" "$rel/Vantrel.exe"
check "the x86 exe is signed too, and verifies" eval \
    'unzip -p "$work/signed-release/$name-windows-x86.zip" Vantrel.exe >"$work/signed-x86.exe" &&
     osslsigncode verify -CAfile "$work/cert.pem" -in "$work/signed-x86.exe"'
check "the verifier finds the signed exe and both zips the same apart from the signature, and the manifests apart from their hashes" eval \
    'python3 "$root/tools/compare_release.py" "$work/signed-release" "$b/build/verify" >"$work/signed-verify.log" &&
     grep -qx "Vantrel.exe: same apart from its signature" "$work/signed-verify.log" &&
     grep -qx "$zip_name: same apart from the signature of its Vantrel.exe" "$work/signed-verify.log" &&
     grep -qx "$name-windows-x86.zip: same apart from the signature of its Vantrel.exe" "$work/signed-verify.log" &&
     grep -qx "$name-winget.zip: same apart from the hashes of the signed zips" "$work/signed-verify.log" &&
     grep -qx "vantrel.json: same apart from the hashes of the signed zips" "$work/signed-verify.log"'
# The listing case and the design check of each control.
check "the signed exe starts and shows its window" env VANTREL_EXE="Z:$signed" \
    "$root/tests/run-counted.sh" 6 "$root/tools/wine-run.sh" "$session" "$window_tests" \
    --gtest_filter='StartListTest.*:*/ControlDesignTest.*' --gtest_brief=1

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
