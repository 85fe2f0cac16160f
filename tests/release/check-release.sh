#!/usr/bin/env bash
# check-release.sh ROOT BUILD_DIR VERSION
# The release packages of a Windows build as a Windows user gets them:
# exactly the files each zip must hold, README.txt in Japanese and English
# for Notepad (UTF-8 with BOM, CRLF), the HTML guides with every local link
# and picture present, only known HTML elements each closed in order, and no
# Markdown left (no link or link text naming a .md file), the version in the zip names, the
# READMEs, the page titles and the program's version resource, stripped
# executables that are all 32-bit (the logging library is), and each
# program's manifest (read under Wine by cc-manifest-check: this build's, or
# that of the build CC_MANIFEST_CHECK_BUILD names, where this machine cannot
# run 32-bit programs). To show that the checks can fail, they also run on
# copies with one fault each and must reject every one.
set -uo pipefail
root=$(cd "${1:?usage: check-release.sh ROOT BUILD_DIR VERSION}" && pwd)
build=$(cd "${2:?}" && pwd)
version=${3:?}
objdump=i686-w64-mingw32-objdump
nm=i686-w64-mingw32-nm
objcopy=x86_64-w64-mingw32-objcopy

program_zip=$build/release/CallsignCheck-$version.zip
kit_zip=$build/release/CallsignCheck-standin-kit-$version.zip
for z in "$program_zip" "$kit_zip"; do
  [ -f "$z" ] || { echo "no $z (the release packages are made by the windows build)"; exit 1; }
done

# The files each package must hold, and nothing else.
pictures=$(cd "$root/docs" && ls screenshots/*.png)
program_files=$(printf '%s\n' README.txt LICENSE.txt CallsignCheck.exe user-guide.ja.html user-guide.en.html $pictures | sort)
kit_files=$(printf '%s\n' README.txt LICENSE.txt vireon50.dll vireon-tool.exe loggerwin.exe stand-in.html file-formats.html | sort)

# Local link targets of an HTML page (href and src), without #fragments.
links() {
  tr '\n' ' ' < "$1" | grep -oE '(href|src)="[^"]*"' | sed -E 's/^[a-z]+="//; s/"$//; s/#.*//' |
    grep -vE '^([a-z][a-z0-9+.-]*:|$)' | sort -u
}

# What a browser would show other than written: elements that HTML does not
# know (a raw "<EOR>" in the text becomes an element that holds the rest of
# the page), elements not closed in order, and link text that names a
# Markdown file. One line per problem.
html_problems() {
  tr '\n\r' '  ' < "$1" | awk '
    BEGIN {
      n = split("html head title base link meta style script noscript body section nav article aside " \
                "h1 h2 h3 h4 h5 h6 hgroup header footer address main p hr pre blockquote ol ul menu li dl dt dd " \
                "figure figcaption div a em strong small s cite q dfn abbr ruby rt rp data time code var samp " \
                "kbd sub sup i b u mark bdi bdo span br wbr ins del picture source img iframe embed object " \
                "video audio track map area table caption colgroup col tbody thead tfoot tr td th form label " \
                "input button select datalist optgroup option textarea output progress meter fieldset legend " \
                "details summary dialog template svg math", k, " ")
      for (i = 1; i <= n; i++) known[k[i]] = 1
      n = split("area base br col embed hr img input link meta source track wbr", k, " ")
      for (i = 1; i <= n; i++) empty[k[i]] = 1
    }
    {
      s = $0; depth = 0; inA = 0
      while ((at = index(s, "<")) > 0) {
        if (inA) linkText = linkText substr(s, 1, at - 1)
        s = substr(s, at)
        if (substr(s, 1, 4) == "<!--") {
          e = index(s, "-->"); if (!e) { print "a comment is not closed"; break }
          s = substr(s, e + 3); continue
        }
        e = index(s, ">"); if (!e) { print "a tag is not closed: " substr(s, 1, 40); break }
        tag = substr(s, 2, e - 2); s = substr(s, e + 1)
        if (substr(tag, 1, 1) == "!") continue
        closing = substr(tag, 1, 1) == "/"
        if (closing) tag = substr(tag, 2)
        if (!match(tag, /^[A-Za-z][A-Za-z0-9-]*/)) { print "text <" tag "> is not a tag"; continue }
        name = tolower(substr(tag, 1, RLENGTH))
        if (!(name in known)) { print "unknown element <" substr(tag, 1, RLENGTH) ">"; continue }
        if (closing) {
          if (depth > 0 && open[depth] == name) depth--
          else if (depth > 0) { print "<" open[depth] "> is not closed before </" name ">"; depth-- }
          else print "</" name "> closes nothing open"
          if (name == "a") {
            if (linkText ~ /\.[Mm][Dd]([^A-Za-z0-9]|$)/) print "link text names a Markdown file: " linkText
            inA = 0
          }
          continue
        }
        if (name in empty || tag ~ /\/$/) continue
        open[++depth] = name
        if (name == "a") { inA = 1; linkText = "" }
        if (name == "style" || name == "script") {   # their text is not HTML
          e = index(tolower(s), "</" name); if (!e) continue
          s = substr(s, e)
        }
      }
      for (; depth > 0; depth--) print "<" open[depth] "> is not closed"
    }'
}

problems() {   # problems PROGRAM_DIR KIT_DIR: what is wrong, nothing when all is right
  local p=$1 k=$2 f page link
  local got
  got=$(cd "$p" && find . -type f | sed 's|^\./||' | sort)
  [ "$got" = "$program_files" ] || echo "the program package holds [$(echo $got)], not [$(echo $program_files)]"
  got=$(cd "$k" && find . -type f | sed 's|^\./||' | sort)
  [ "$got" = "$kit_files" ] || echo "the kit holds [$(echo $got)], not [$(echo $kit_files)]"

  for f in "$p/README.txt" "$k/README.txt"; do
    [ -f "$f" ] || continue
    [ "$(head -c 3 "$f" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || echo "$f: no UTF-8 byte order mark (Notepad of Windows 7 reads it as ANSI)"
    grep -q $'[^\r]$' "$f" && echo "$f: lines without CRLF"
    grep -q '^\[日本語\]' "$f" && grep -q '^\[English\]' "$f" || echo "$f: not in Japanese and English"
  done
  for f in "$p/LICENSE.txt" "$k/LICENSE.txt"; do
    [ -f "$f" ] && grep -q $'[^\r]$' "$f" && echo "$f: lines without CRLF"
  done
  [ -f "$p/README.txt" ] && { sed -n '1s/^\xef\xbb\xbf//; 1s/\r$//; 1p' "$p/README.txt" | grep -qx "CallsignCheck $version" ||
    echo "program README.txt does not begin with CallsignCheck $version"; }
  [ -f "$k/README.txt" ] && { sed -n '1s/^\xef\xbb\xbf//; 1s/\r$//; 1p' "$k/README.txt" | grep -qx "CallsignCheck stand-in kit $version" ||
    echo "kit README.txt does not begin with CallsignCheck stand-in kit $version"; }
  for f in user-guide.ja.html user-guide.en.html; do
    [ -f "$p/README.txt" ] && ! grep -q "$f" "$p/README.txt" && echo "README.txt does not name $f"
  done

  for page in "$p"/*.html "$k"/*.html; do
    [ -f "$page" ] || continue
    grep -q "<title>[^<]* $version[ <:]" "$page" || echo "$page: the title does not carry version $version"
    html_problems "$page" | sed "s|^|$page: |"
    while read -r link; do
      [ -n "$link" ] || continue
      [ -f "$(dirname "$page")/$link" ] || echo "$page: links to $link, which is not in the package"
      case "$link" in *.md) echo "$page: links to Markdown $link" ;; esac
    done < <(links "$page")
  done
  # Every picture is shown by both guides.
  for f in $pictures; do
    for page in "$p"/user-guide.*.html; do
      [ -f "$page" ] && ! links "$page" | grep -qx "$f" && echo "$page does not show $f"
    done
  done

  for f in "$p/CallsignCheck.exe" "$k/vireon50.dll" "$k/vireon-tool.exe" "$k/loggerwin.exe"; do
    [ -f "$f" ] || continue
    $objdump -h "$f" | grep -q ' \.debug' && echo "$f: has debugging sections"
    $nm "$f" 2>&1 | grep -q 'no symbols' || echo "$f: has a symbol table (not stripped)"
    $objdump -f "$f" 2>/dev/null | grep -q 'file format pei-i386$' || echo "$f: not a 32-bit (i386) Windows program"
  done
  # The version resource: FileVersion and ProductVersion are UTF-16 texts.
  [ -f "$p/CallsignCheck.exe" ] && { strings -el "$p/CallsignCheck.exe" | grep -qx "$version" ||
    echo "CallsignCheck.exe: no version $version in its version resource"; }
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/program" "$work/kit"
unzip -q "$program_zip" -d "$work/program" && unzip -q "$kit_zip" -d "$work/kit" || { echo "cannot unzip the packages"; exit 1; }
found=$(problems "$work/program" "$work/kit")
status=0
if [ -n "$found" ]; then
  echo "$found"
  status=1
fi

# The manifests of the programs as shipped, read as Windows reads them.
checker=$(cd "${CC_MANIFEST_CHECK_BUILD:-$build}" && pwd) || { echo "no build ${CC_MANIFEST_CHECK_BUILD:-}"; exit 1; }
if ! "$root/cmake/wine-run.sh" "$checker/wineprefix" "$checker/bin/cc-manifest-check.exe" \
     "Z:$work/program/CallsignCheck.exe" "Z:$work/kit/vireon-tool.exe" "Z:$work/kit/loggerwin.exe" | tr -d '\r'; then
  echo "a shipped program lacks a manifest entry"
  status=1
fi

faults=(
  "rm program/screenshots/main-lookup-144dpi.png"
  "cp '$root/docs/user-guide.en.md' program/"
  "rm kit/file-formats.html"
  "sed -i 's/$version/0.0.1/' program/README.txt"
  "sed -i 's/\r\$//' kit/README.txt"
  "tail -c +4 program/README.txt > x && mv x program/README.txt"
  "sed -i 's/\[English\]/English/' kit/README.txt"
  "sed -i 's/about.png/about-2.png/' program/user-guide.ja.html"
  "sed -i 's/file-formats.html/file-formats.md/' kit/stand-in.html"
  "sed -i '0,/<p>/s|<p>|<p>records end with <EOR> |' kit/stand-in.html"
  "sed -i '0,/<\\/li>/s|</li>||' program/user-guide.ja.html"
  "sed -i '0,/<a href=\"file-formats.html\">/s|<a href=\"file-formats.html\">|&file-formats.md |' kit/stand-in.html"
  "sed -i 's/<title>CallsignCheck $version/<title>CallsignCheck/' program/user-guide.en.html"
  "sed -i 's|src=\"screenshots/logger.png\"|src=\"screenshots/about.png\"|' program/user-guide.en.html"
  "cp '$build/bin/loggerwin.exe' kit/"
)
# A 64-bit program in place of a shipped one (the 64-bit build is beside
# this one where test.sh made it).
build64=$(dirname "$build")/windows64
[ -f "$build64/bin/loggerwin.exe" ] &&
  faults+=("$objcopy --strip-all '$build64/bin/loggerwin.exe' kit/loggerwin.exe")
for fault in "${faults[@]}"; do
  rm -rf "$work/f" && mkdir -p "$work/f" && cp -r "$work/program" "$work/kit" "$work/f/"
  (cd "$work/f" && eval "$fault")
  if [ -z "$(problems "$work/f/program" "$work/f/kit")" ]; then
    echo "not caught: $fault"
    status=1
  fi
done
[ $status -eq 0 ] && echo "release packages $version: every file, link, version, strip and manifest as they must be"
exit $status
