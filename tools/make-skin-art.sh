#!/usr/bin/env bash
# Draws every image that the launcher skin (main.xml) and the game window skin (game.xml) name, at the
# size of the control that shows it, into res/skin/. The theme follows the application icon: a golden
# rune on a deep-blue shield, set in a moonlit night over the mountains of Runecourt.
#
# Needs Debian's ImageMagick 6 (/usr/bin/convert), the Noto CJK fonts (fonts-noto-cjk) for the
# labels of the portal buttons, and optipng. Everything is drawn with vectors at its final size, so
# edges stay crisp, and the few random things (stars, ridges) come from a fixed seed, so a run gives the
# same images.
#
# Usage: tools/make-skin-art.sh [--preview FOLDER]
#   --preview FOLDER  also composes mock-ups of both windows with their buttons into FOLDER (for
#                     example build/skin-previews, which git ignores).
set -euo pipefail

IM=/usr/bin/convert
here=$(cd "$(dirname "$0")/.." && pwd)
out="$here/res/skin"
preview=""
if [ "${1:-}" = "--preview" ]; then
  preview=${2:?"--preview needs a folder"}
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"

if ! command -v optipng >/dev/null; then
  echo "make-skin-art: optipng missing: install optipng" >&2
  exit 1
fi

FONT=Noto-Serif-CJK-SC-Bold
if ! "$IM" -list font 2>/dev/null | grep "Font: $FONT$" >/dev/null; then
  echo "make-skin-art: font $FONT missing: install fonts-noto-cjk" >&2
  exit 1
fi

# The palette of the icon: deep-blue shield, golden rim and rune, a lighter blue inner line.
NAVY_DEEP='#050b1e'
NAVY_MID='#16295a'
BLUE='#3b5fa8'
GOLD_DARK='#7a5c12'
GOLD='#c9a227'
GOLD_LIGHT='#f2cf5b'
GOLD_PALE='#fbe9a6'

# Writes an 8-bit RGBA PNG without time stamps or other metadata, so that reruns are byte-identical.
# optipng then picks the row filters and compression that make the smallest file, losslessly; for this
# art that is also the file the launcher decodes fastest (the background's rows end up unfiltered). It
# keeps the colour type (-nx): the engine decodes 8-bit RGBA rows on its direct path.
save() {
  "$IM" "$1" -strip -define png:exclude-chunks=date,time -define png:compression-level=9 PNG32:"$2"
  optipng -quiet -o5 -nx "$2"
}

# A small deterministic random generator (Park-Miller), independent of the shell's own. Each user sets
# its own seed first: they run in command substitutions, whose changes to "seed" do not come back.
seed=1
next_random() { # next_random MAX: sets r to 0..MAX-1
  seed=$(((seed * 16807) % 2147483647))
  r=$((seed % $1))
}

# ---------------------------------------------------------------------------------------------------
# Launcher window background, 1280x768. The window is layered: transparent pixels let the desktop
# through, so the launcher shows as a framed panel with the Runecourt crest standing out at its left.
# ---------------------------------------------------------------------------------------------------
W=1280 H=768
PX0=236 PY0=104 PX1=1186 PY1=716 # the panel
PAGE_L=384 PAGE_T=222 PAGE_R=1110 PAGE_B=642 # where the page window sits
MOON_X=470 MOON_Y=146

# Mountain ridges: a polygon from a random walk along x, closed at the bottom of the window.
ridge() { # ridge SEED BASE_Y AMPLITUDE STEP -> polygon points
  seed=$1
  local base=$2 amp=$3 step=$4 x=0 y=$2 points=""
  while [ $x -le $((W + step)) ]; do
    next_random $((2 * amp + 1))
    y=$((y + r - amp))
    if [ $y -lt $((base - 3 * amp)) ]; then y=$((base - 3 * amp)); fi
    if [ $y -gt $((base + 2 * amp)) ]; then y=$((base + 2 * amp)); fi
    points+="$x,$y "
    x=$((x + step))
  done
  echo "$points $((W + step)),$H 0,$H"
}

stars() { # stars SEED COUNT Y_MAX -> draw primitives
  seed=$1
  local i prims="" x y size alpha
  for ((i = 0; i < $2; i++)); do
    next_random $W; x=$r
    next_random $3; y=$r
    next_random 100; size=$r
    next_random 60; alpha=$((40 + r))
    if [ $size -lt 80 ]; then
      prims+="fill rgba(220,230,255,0.$alpha) circle $x,$y $x.6,$y "
    elif [ $size -lt 96 ]; then
      prims+="fill rgba(235,240,255,0.$alpha) circle $x,$y $x,$((y + 1)) "
    else
      prims+="fill rgba(255,240,200,0.9) circle $x,$y $x,$((y + 1)).4 "
    fi
  done
  echo "$prims"
}

# A metal fill for rims and runes, WIDTHxHEIGHT: pale gold at Y0, gold in the middle, dark gold at Y1,
# the end colours held above and below.
gold_fill() { # gold_fill WIDTH HEIGHT Y0 Y1 OUT
  local w=$1 h=$2 y0=$3 y1=$4 half=$((($4 - $3) / 2))
  "$IM" -size 4x$half gradient:"$GOLD_PALE-$GOLD_LIGHT" -size 4x$((y1 - y0 - half)) gradient:"$GOLD_LIGHT-$GOLD_DARK" \
    -append -background "$GOLD_PALE" -gravity north -splice 0x$y0 \
    -background "$GOLD_DARK" -gravity northwest -extent 4x$h -scale ${w}x${h}! "$5"
}

make_sky() {
  # Night sky: deep blue at the top, lighter towards the horizon; a cool haze behind the castle, a
  # crescent moon in the header, two ranges of mountains.
  "$IM" -size ${W}x${H} gradient:"$NAVY_DEEP-#1d3a7a" \
    \( -size ${W}x${H} xc:none -fill 'rgba(90,130,220,0.45)' -draw "ellipse 280,470 300,200 0,360" \
       -fill 'rgba(60,95,180,0.30)' -draw "ellipse 900,520 520,110 0,360" -blur 0x60 \) -composite \
    -draw "$(stars 20260401 300 600)" \
    \( -size ${W}x${H} xc:none -fill 'rgba(200,215,255,0.30)' -draw "circle $MOON_X,$MOON_Y $MOON_X,$((MOON_Y + 34))" -blur 0x16 \) -composite \
    \( -size ${W}x${H} xc:none -fill '#f4f1e0' -draw "circle $MOON_X,$MOON_Y $MOON_X,$((MOON_Y + 15))" \
       \( -size ${W}x${H} xc:none -fill black -draw "circle $((MOON_X + 7)),$((MOON_Y - 4)) $((MOON_X + 7)),$((MOON_Y + 10))" \) \
       -compose DstOut -composite \) -compose over -composite \
    -fill "#142a60" -draw "polygon $(ridge 20260401 575 16 18)" \
    -fill "#0d1c44" -draw "polygon $(ridge 777 640 12 14)" \
    "$work/sky.png"
}

# The castle of Runecourt on its rock, lower left: towers with pointed roofs and lit windows.
make_castle() {
  local dark='#081331' prims="" t cx w top roof
  # Towers: centre x, width, top of the wall, roof height.
  for t in "262 22 566 34" "300 32 500 64" "338 24 548 42" "364 16 600 26" "244 14 604 22"; do
    read -r cx w top roof <<<"$t"
    prims+="rectangle $((cx - w / 2)),$top $((cx + w / 2)),720 "
    prims+="polygon $((cx - w / 2 - 4)),$top $cx,$((top - roof)) $((cx + w / 2 + 4)),$top "
    prims+="rectangle $((cx - 1)),$((top - roof - 10)) $((cx + 1)),$((top - roof)) "
  done
  # Curtain wall with battlements, and the rock falling away to the right under the page's frame.
  prims+="rectangle 236,620 374,720 "
  for ((x = 238; x < 374; x += 10)); do prims+="rectangle $x,612 $((x + 5)),620 "; done
  prims+="polygon 372,626 390,640 402,652 418,664 440,680 470,700 470,720 372,720 "
  "$IM" -size ${W}x${H} xc:none -fill "$dark" -draw "$prims" \
    \( -size ${W}x${H} xc:none -fill "$GOLD_LIGHT" \
       -draw "rectangle 298,520 302,528 rectangle 298,548 302,556 rectangle 260,584 263,590 rectangle 337,566 340,572 rectangle 336,590 339,596 rectangle 290,640 293,646 rectangle 320,648 323,654" \
       \( +clone -blur 0x4 -channel A -evaluate multiply 1.6 +channel \) -compose screen -composite \) -compose over -composite \
    "$work/castle.png"
}

make_scene() {
  make_sky
  make_castle
  # Mist in the valley, then the near ridge in front of everything.
  "$IM" "$work/sky.png" "$work/castle.png" -composite \
    \( -size ${W}x${H} xc:none -fill 'rgba(150,180,240,0.22)' -draw "rectangle 0,664 $W,700" -blur 0x14 \) -composite \
    -fill "#081230" -draw "polygon $(ridge 4242 694 6 12)" \
    "$work/scene.png"
}

# Paints FILL through the white parts of MASK (same size) into OUT, transparent elsewhere.
paint_through() { # paint_through MASK FILL OUT
  "$IM" "$2" \( "$1" -colorspace gray \) -alpha off -compose CopyOpacity -composite "$3"
}

# A white-on-black mask of draw primitives at the window size.
mask() { # mask OUT WIDTH HEIGHT PRIMITIVES...
  local file=$1 w=$2 h=$3
  shift 3
  "$IM" -size ${w}x${h} xc:black -fill white -stroke none "$@" "$file"
}

SHIELD_PATH="M 128,12 L 232,48 L 222,150 Q 204,210 128,246 Q 52,210 34,150 L 24,48 Z"
SHIELD_INNER="M 128,30 L 214,60 L 206,148 Q 190,198 128,228 Q 66,198 50,148 L 42,60 Z"
RUNE="stroke-linecap round line 78,72 178,72 line 128,72 128,196 line 128,120 168,156 line 128,120 88,156"

# A black shadow of the opaque parts of IMAGE: blurred, moved down, at the given opacity.
shadow_of() { # shadow_of IMAGE OPACITY BLUR DY OUT
  "$IM" -size ${W}x${H} xc:black \( "$1" -alpha extract -blur 0x"$3" -roll +0+"$4" -evaluate multiply "$2" \) \
    -alpha off -compose CopyOpacity -composite "$5"
}

make_panel() {
  local r=16
  # The panel cut out of the scene, with its rounded corners.
  mask "$work/panel_mask.png" $W $H -draw "roundrectangle $PX0,$PY0 $((PX1 - 1)),$((PY1 - 1)) $r,$r"
  paint_through "$work/panel_mask.png" "$work/scene.png" "$work/panel.png"

  # Frame of the page: a dark recess with the rune faintly in it (seen until the page has loaded), a
  # golden rim lit from above, a thin blue line outside it and golden corner brackets.
  local fl=$((PAGE_L - 8)) ft=$((PAGE_T - 8)) fr=$((PAGE_R + 7)) fb=$((PAGE_B + 7))
  local mid=$(((fl + fr) / 2)) brackets="" cx cy dx dy
  for corner in "$fl $ft 1 1" "$fr $ft -1 1" "$fl $fb 1 -1" "$fr $fb -1 -1"; do
    read -r cx cy dx dy <<<"$corner"
    brackets+="polygon $((cx - 5 * dx)),$((cy - 5 * dy)) $((cx + 50 * dx)),$((cy - 5 * dy)) $((cx + 45 * dx)),$cy $cx,$cy "
    brackets+="$cx,$((cy + 45 * dy)) $((cx - 5 * dx)),$((cy + 50 * dy)) "
    brackets+="polygon $((cx - 7 * dx)),$((cy - 15 * dy)) $((cx + 1 * dx)),$((cy - 7 * dy)) $((cx - 7 * dx)),$((cy + 1 * dy)) $((cx - 15 * dx)),$((cy - 7 * dy)) "
  done
  mask "$work/rim_mask.png" $W $H \
    -fill none -stroke white -strokewidth 2 -draw "rectangle $fl,$ft $fr,$fb" \
    -fill white -stroke none -draw "$brackets" \
    -draw "polygon $((mid - 12)),$ft $mid,$((ft - 7)) $((mid + 12)),$ft $mid,$((ft + 7))" \
    -draw "polygon $((mid - 12)),$fb $mid,$((fb - 7)) $((mid + 12)),$fb $mid,$((fb + 7))"
  gold_fill $W $H $((ft - 10)) $((fb + 10)) "$work/gold_frame.png"
  paint_through "$work/rim_mask.png" "$work/gold_frame.png" "$work/rim.png"
  "$IM" -size $((PAGE_R - PAGE_L + 12))x$((PAGE_B - PAGE_T + 12)) radial-gradient:"#10214a-$NAVY_DEEP" \
    -background none -gravity northwest -splice $((PAGE_L - 6))x$((PAGE_T - 6)) -extent ${W}x${H} \
    \( -size ${W}x${H} xc:black -fill none -stroke 'gray(24)' -strokewidth 20 \
       -draw "translate $(((PAGE_L + PAGE_R) / 2 - 128)),$(((PAGE_T + PAGE_B) / 2 - 134)) $RUNE" \
       -stroke 'gray(15)' -strokewidth 6 \
       -draw "translate $(((PAGE_L + PAGE_R) / 2 - 128)),$(((PAGE_T + PAGE_B) / 2 - 134)) path '$SHIELD_INNER'" \
       -colorspace gray \( -size ${W}x${H} xc:"$GOLD_LIGHT" \) +swap -alpha off -compose CopyOpacity -composite \) \
    -compose over -composite "$work/recess.png"

  # Rail of the portal buttons: a golden line that fades out at both ends, with gems between buttons.
  local y=191 gems=""
  for cx in 586 731 876; do gems+="polygon $cx,$((y - 6)) $((cx + 6)),$y $cx,$((y + 6)) $((cx - 6)),$y "; done
  mask "$work/rail_line.png" $W $H -draw "rectangle 400,$((y - 1)) 1060,$y"
  "$IM" -size ${W}x1 xc:black -fx "i < 400 || i > 1060 ? 0 : sin((i - 400) / 660 * pi)^0.35" -scale ${W}x${H}! \
    "$work/rail_line.png" -compose multiply -composite -fill white -draw "$gems" "$work/rail_mask.png"
  gold_fill $W $H $((y - 6)) $((y + 6)) "$work/gold_rail.png"
  paint_through "$work/rail_mask.png" "$work/gold_rail.png" "$work/rail.png"

  # Border of the panel: a golden edge and a blue line inside it, like the rim of the crest.
  mask "$work/border_mask.png" $W $H -fill none -stroke white -strokewidth 3 \
    -draw "roundrectangle $((PX0 + 1)),$((PY0 + 1)) $((PX1 - 2)),$((PY1 - 2)) $((r - 1)),$((r - 1))"
  gold_fill $W $H $PY0 $PY1 "$work/gold_border.png"
  paint_through "$work/border_mask.png" "$work/gold_border.png" "$work/border.png"

  "$IM" "$work/panel.png" "$work/recess.png" -composite \
    -fill none -stroke 'rgba(125,155,224,0.55)' -strokewidth 1 \
    -draw "rectangle $((fl - 4)),$((ft - 4)) $((fr + 4)),$((fb + 4))" \
    -draw "roundrectangle $((PX0 + 7)),$((PY0 + 7)) $((PX1 - 8)),$((PY1 - 8)) $((r - 6)),$((r - 6))" \
    "$work/rim.png" -compose over -composite "$work/rail.png" -composite "$work/border.png" -composite \
    "$work/panel_framed.png"
}

# The crest of the icon, larger, standing over the panel's upper left corner, with the name on a ribbon.
make_crest() {
  local tx=$((CREST_X - 128)) ty=$CREST_Y
  local t="translate $tx,$ty"
  "$IM" -size 260x260 radial-gradient:"#2d56a8-#0a1636" -background none -gravity northwest \
    -splice $((tx))x$((ty - 10)) -extent ${W}x${H} "$work/field.png"
  mask "$work/field_mask.png" $W $H -draw "$t path '$SHIELD_PATH'"
  paint_through "$work/field_mask.png" "$work/field.png" "$work/crest_field.png"
  mask "$work/crest_gold_mask.png" $W $H -fill none -stroke white -strokewidth 10 -draw "$t path '$SHIELD_PATH'" \
    -strokewidth 20 -draw "$t $RUNE"
  gold_fill $W $H $ty $((ty + 246)) "$work/gold_crest.png"
  paint_through "$work/crest_gold_mask.png" "$work/gold_crest.png" "$work/crest_gold.png"

  # Ribbon: a band across the foot of the shield, its tails folded behind it.
  local bl=$((CREST_X - 106)) br=$((CREST_X + 106)) bt=$((ty + 226)) bb=$((ty + 264))
  local tails="polygon $((bl + 10)),$((bt + 10)) $((bl - 18)),$((bt + 10)) $((bl - 10)),$((bt + 29)) $((bl - 18)),$((bb + 10)) $((bl + 10)),$((bb + 10)) "
  tails+="polygon $((br - 10)),$((bt + 10)) $((br + 18)),$((bt + 10)) $((br + 10)),$((bt + 29)) $((br + 18)),$((bb + 10)) $((br - 10)),$((bb + 10))"
  "$IM" -size ${W}x${H} xc:none -fill "#0a1738" -stroke "$GOLD_DARK" -strokewidth 2 -draw "$tails" \
    -fill "$NAVY_MID" -stroke none -draw "rectangle $bl,$bt $br,$bb" \
    "$work/ribbon.png"
  mask "$work/ribbon_gold_mask.png" $W $H -fill none -stroke white -strokewidth 2 \
    -draw "rectangle $((bl + 1)),$((bt + 1)) $((br - 1)),$((bb - 1))" -strokewidth 1 \
    -draw "rectangle $((bl + 5)),$((bt + 5)) $((br - 5)),$((bb - 5))" \
    -fill white -stroke none -font "$FONT" -pointsize 24 -kerning 2 -gravity northwest \
    -gravity center -annotate +$((CREST_X - W / 2))+$((bt + 19 - H / 2 - 1)) 'RUNECOURT'
  gold_fill $W $H $bt $bb "$work/gold_ribbon.png"
  paint_through "$work/ribbon_gold_mask.png" "$work/gold_ribbon.png" "$work/ribbon_gold.png"

  "$IM" "$work/crest_field.png" \
    -fill none -stroke "$BLUE" -strokewidth 4 -draw "$t path '$SHIELD_INNER'" \
    "$work/crest_gold.png" -compose over -composite "$work/ribbon.png" -composite "$work/ribbon_gold.png" -composite \
    "$work/crest.png"
}

make_background() {
  make_scene
  make_panel
  make_crest
  shadow_of "$work/panel_framed.png" 0.55 8 4 "$work/panel_shadow.png"
  shadow_of "$work/crest.png" 0.6 6 5 "$work/crest_shadow.png"
  "$IM" "$work/panel_shadow.png" "$work/panel_framed.png" -composite \
    "$work/crest_shadow.png" -composite "$work/crest.png" -composite "$work/bg.png"
  save "$work/bg.png" "$out/bg.png"
}

# ---------------------------------------------------------------------------------------------------
# Launcher buttons.
# ---------------------------------------------------------------------------------------------------

# Minimise and close, 35x35, one image for every state: a golden ring around a blue disc with the sign.
make_round_button() { # make_round_button NAME SIGN_PRIMITIVES
  local s=35 c=17.5
  gold_fill $s $s 1 34 "$work/gold_round.png"
  mask "$work/round_ring.png" $s $s -fill none -stroke white -strokewidth 2.2 -draw "circle $c,$c $c,2.2"
  paint_through "$work/round_ring.png" "$work/gold_round.png" "$work/round_ring_gold.png"
  "$IM" -size ${s}x${s} radial-gradient:"#2d56a8-#0a1636" "$work/round_field.png"
  mask "$work/round_disc.png" $s $s -draw "circle $c,$c $c,2.5"
  paint_through "$work/round_disc.png" "$work/round_field.png" "$work/round_disc_blue.png"
  mask "$work/round_sign.png" $s $s -fill none -stroke white -strokewidth 2.6 -draw "stroke-linecap round $2"
  paint_through "$work/round_sign.png" "$work/gold_round.png" "$work/round_sign_gold.png"
  "$IM" "$work/round_disc_blue.png" "$work/round_ring_gold.png" -composite "$work/round_sign_gold.png" -composite \
    "$work/$1"
  save "$work/$1" "$out/$1"
}

# A portal button, 90x31: a plate with cut corners and a golden edge, its label in gold.
# States: normal; hover lights the plate and the edge; click darkens it and sinks the label a pixel.
make_plate_button() { # make_plate_button FILE LABEL STATE
  local w=90 h=31 top bottom edge_top edge_bottom text shift=0 glow=0
  case $3 in
    normal) top="#1c3878" bottom="#0a1738" edge_top="$GOLD_LIGHT" edge_bottom="$GOLD_DARK" text="$GOLD_LIGHT" ;;
    hover) top="#3b6cd2" bottom="#17347a" edge_top="$GOLD_PALE" edge_bottom="$GOLD" text="#fff4cc" glow=1 ;;
    click) top="#08122e" bottom="#152c62" edge_top="$GOLD_DARK" edge_bottom="$GOLD" text="$GOLD" shift=1 ;;
  esac
  local plate="polygon 6,0.5 83,0.5 89.5,6 89.5,24 83,30.5 6,30.5 0.5,24 0.5,6"
  "$IM" -size ${w}x${h} gradient:"$top-$bottom" "$work/plate_fill.png"
  if [ $glow = 1 ]; then
    "$IM" "$work/plate_fill.png" \( -size ${w}x$((h * 2)) radial-gradient:'rgba(170,200,255,0.40)'-'rgba(170,200,255,0)' \
      -gravity center -crop ${w}x${h}+0+0 +repage \) -compose over -composite "$work/plate_fill.png"
  fi
  mask "$work/plate_mask.png" $w $h -draw "$plate"
  paint_through "$work/plate_mask.png" "$work/plate_fill.png" "$work/plate.png"
  "$IM" -size ${w}x${h} gradient:"$edge_top-$edge_bottom" "$work/plate_edge_fill.png"
  mask "$work/plate_edge.png" $w $h -fill none -stroke white -strokewidth 1.2 -draw "$plate" \
    -stroke 'gray(45)' -strokewidth 1 -draw "polygon 7,3.5 82,3.5 86.5,8 86.5,22 82,27.5 7,27.5 3.5,22 3.5,8"
  paint_through "$work/plate_edge.png" "$work/plate_edge_fill.png" "$work/plate_edge_gold.png"
  "$IM" "$work/plate.png" "$work/plate_edge_gold.png" -composite \
    -font "$FONT" -pointsize 15 -gravity center \
    -fill 'rgba(0,0,0,0.6)' -annotate +0+$((1 + shift)) "$2" \
    -fill "$text" -annotate +0+$((0 + shift)) "$2" \
    "$work/$1"
  save "$work/$1" "$out/$1"
}

make_launcher_buttons() {
  make_round_button mini.png "line 11.5,17.5 23.5,17.5"
  make_round_button close.png "line 12.5,12.5 22.5,22.5 line 22.5,12.5 12.5,22.5"
  local entry name label
  for entry in "home:官网首页" "charge:充值" "custom:客服" "bbs:论坛"; do
    name=${entry%%:*} label=${entry#*:}
    make_plate_button "$name.png" "$label" normal
    make_plate_button "${name}_hover.png" "$label" hover
    make_plate_button "${name}_click.png" "$label" click
  done
}

# ---------------------------------------------------------------------------------------------------
# Game window.
# ---------------------------------------------------------------------------------------------------

# The background is stretched over the whole client area at any size, from the 1000x700 minimum up, so
# it is drawn at that minimum (never shrunk, 1:1 at the smallest window) and carries only smooth shades
# that survive a stretch: the title row's blue gradient, fading into the dark frame that shows as a thin
# margin around the page, and a one-pixel edge that stays one or two pixels wide at every size.
make_game_background() {
  local w=1000 h=700
  "$IM" -size ${w}x34 gradient:"#22427f-#0e1e47" -size ${w}x$((h - 34)) xc:"#0b1836" -append \
    \( -size ${w}x60 radial-gradient:'rgba(120,160,240,0.22)'-'rgba(120,160,240,0)' -background none \
       -gravity northwest -extent ${w}x${h} -roll -300-30 \) -compose over -composite \
    -fill none -stroke "#5e4a17" -strokewidth 1 -draw "rectangle 0,0 $((w - 1)),$((h - 1))" \
    -stroke "$GOLD" -draw "line 1,0 $((w - 2)),0" \
    "$work/game_back.png"
  save "$work/game_back.png" "$out/game_back.png"
}

# Title row buttons, 27x23: a light sign on the title row; hover puts it on a lit blue plate (a red one
# for close), pressed on a dark plate with the sign in gold.
make_title_button() { # make_title_button FILE SIGN_PRIMITIVES STATE [danger]
  local w=27 h=23 plate="" sign="#dfe6f5"
  case $3 in
    normal) ;;
    hover)
      if [ "${4:-}" = danger ]; then plate="#c0303a-#8e1c25"; else plate="#3b6cd2-#1d3f8a"; fi
      sign="#ffffff" ;;
    pressed)
      if [ "${4:-}" = danger ]; then plate="#6e1219-#9a2530"; else plate="#081330-#142a62"; fi
      sign="$GOLD_LIGHT" ;;
  esac
  if [ -n "$plate" ]; then
    "$IM" -size ${w}x${h} gradient:"$plate" "$work/tb_fill.png"
    mask "$work/tb_mask.png" $w $h -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 3,3"
    paint_through "$work/tb_mask.png" "$work/tb_fill.png" "$work/tb_plate.png"
    "$IM" "$work/tb_plate.png" -fill none -stroke 'rgba(242,207,91,0.55)' -strokewidth 1 \
      -draw "roundrectangle 0.5,0.5 $((w - 1)).5,$((h - 1)).5 3,3" "$work/tb.png"
  else
    "$IM" -size ${w}x${h} xc:none "$work/tb.png"
  fi
  "$IM" "$work/tb.png" -fill none -stroke "$sign" -strokewidth 1.6 -draw "$2" "$work/$1"
  save "$work/$1" "$out/$1"
}

make_game_buttons() {
  local min="line 8.5,15.5 18.5,15.5"
  local max="rectangle 8.5,6.5 18.5,15.5 line 8.5,7.5 18.5,7.5"
  local close="line 9,7 18,16 line 18,7 9,16"
  make_title_button min_normal.png "$min" normal
  make_title_button min_hover.png "$min" hover
  make_title_button min_pressed.png "$min" pressed
  make_title_button normal2max-normal.png "$max" normal
  make_title_button normal2max-hover.png "$max" hover
  make_title_button normal2max-press.png "$max" pressed
  make_title_button close_normal.png "$close" normal danger
  make_title_button close_hover.png "$close" hover danger
  make_title_button close_pressed.png "$close" pressed danger
}

# ---------------------------------------------------------------------------------------------------
# Previews: both windows as a player sees them, the buttons at their places and grey where the page is.
# ---------------------------------------------------------------------------------------------------

# The launcher over a desktop, with the buttons in the given states (normal, or hover/click per name).
preview_launcher() { # preview_launcher OUT [NAME=STATE...]
  local file=$1 entry name state image
  shift
  local args=("$out/bg.png" -geometry +0+0 -composite
    -fill '#9a9a9a' -draw "rectangle $PAGE_L,$PAGE_T $((PAGE_R - 1)),$((PAGE_B - 1))"
    "$out/mini.png" -geometry +1072+132 -composite "$out/close.png" -geometry +1107+132 -composite)
  for entry in home:466 charge:616 custom:756 bbs:906; do
    name=${entry%%:*} image="$name.png"
    for state in "$@"; do
      if [ "${state%%=*}" = "$name" ]; then image="${name}_${state#*=}.png"; fi
    done
    args+=("$out/$image" -geometry +"${entry#*:}"+176 -composite)
  done
  "$IM" -size ${W}x${H} gradient:'#5d7a8c'-'#2f4250' "${args[@]}" "$file"
}

# The game window at a client size, its background stretched the way the window draws it (nearest
# pixels), the title row laid out as the skin lays it out.
preview_game() { # preview_game OUT WIDTH HEIGHT [hover BUTTON]
  local w=$2 h=$3 x0=$(($2 - 219)) min=min_normal.png max=normal2max-normal.png close=close_normal.png
  case "${4:-}:${5:-}" in
    hover:min) min=min_hover.png ;;
    hover:max) max=normal2max-hover.png ;;
    hover:close) close=close_hover.png ;;
  esac
  "$IM" "$out/game_back.png" -sample ${w}x${h}! \
    -fill '#9a9a9a' -draw "rectangle 3,33 $((w - 4)),$((h - 4))" \
    -font Noto-Sans-CJK-SC -pointsize 12 -fill white \
    -draw "text 6,20 ' Tolvane-Runecourt'" \
    -draw "text $((x0 + 33 + 6)),20 '清空缓存'" -draw "text $((x0 + 96 + 3)),20 '刷新'" \
    "$out/$min" -geometry +$((x0 + 129))+3 -composite \
    "$out/$max" -geometry +$((x0 + 159))+3 -composite \
    "$out/$close" -geometry +$((x0 + 189))+3 -composite "$1"
}

make_previews() {
  mkdir -p "$preview"
  preview_launcher "$preview/launcher.png"
  preview_launcher "$preview/launcher-states.png" home=hover charge=click custom=hover bbs=click
  preview_game "$preview/game-1000x700.png" 1000 700
  preview_game "$preview/game-1920x1050.png" 1920 1050 hover close
  "$IM" "$preview/game-1000x700.png" -crop 1000x60+0+0 +repage -scale 200% "$preview/game-title-zoom.png"
  echo "previews in $preview"
}

CREST_X=230 CREST_Y=30
make_background
make_launcher_buttons
make_game_background
make_game_buttons
if [ -n "$preview" ]; then make_previews; fi
echo "wrote $(ls "$out"/*.png | wc -l) images to $out"
