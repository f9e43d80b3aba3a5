#!/usr/bin/perl
# Turns one language of a manual page source (packaging/man/*.md) into a troff man page.
#   md2man.pl SOURCE LANGUAGE VERSION [PAGE]      (PAGE: standard output when not given)
# The source starts with "key: value" lines (name, section, date, and per language the
# manual's title as "manual.LANG"), then one block per language opened by "@@ LANGUAGE".
# Inside a block, a small Markdown: "# " and "## " headings; paragraphs; a paragraph whose
# second line starts with ":" is a term (first line) and its description; a paragraph indented
# by four blanks is an example, kept as it stands; **bold**, `code` (bold) and *italic*.
use strict;
use warnings;
use utf8;

my ($source, $lang, $version, $page) = @ARGV;
die "usage: md2man.pl SOURCE LANGUAGE VERSION [PAGE]\n" unless defined $version;
open(my $in, '<:utf8', $source) or die "$source: $!\n";
if (defined $page) {
    open(STDOUT, '>', $page) or die "$page: $!\n";
}
binmode(STDOUT, ':utf8');

my (%head, @lines, $current);
while (my $line = <$in>) {
    $line =~ s/\r?\n$//;
    if ($line =~ /^@@\s*(\S+)\s*$/) { $current = $1; next; }
    if (!defined $current) {
        $head{$1} = $2 if $line =~ /^([\w.]+):\s*(.*?)\s*$/;
        next;
    }
    push @lines, $line if $current eq $lang;
}
die "$source: no block for language $lang\n" unless @lines;
for my $key ('name', 'section', 'date', "manual.$lang") {
    die "$source: no \"$key:\" line\n" unless defined $head{$key};
}

# Characters after which a line may break in Chinese text, and those no line may start with.
my $cjk = qr/[\x{2E80}-\x{9FFF}\x{F900}-\x{FAFF}\x{FF00}-\x{FFEF}\x{201C}\x{201D}]/;
my $cjkSign = qr/[\x{3000}-\x{303F}\x{FF00}-\x{FFEF}\x{201C}\x{201D}]/;
my $noStart = qr/[，。、；：？！”）》」』]/;
my $noEnd = qr/[“（《「『]/;

sub escape {
    my ($text) = @_;
    $text =~ s/\\/\\e/g;
    $text =~ s/-/\\-/g;
    $text =~ s/^([.'])/\\&$1/;
    return $text;
}

# Break points would hide the page's one-line summary from man-db's index: none in the first
# section.
my $inFirstSection = 0;

# The text with its markup in troff; `whole` for text that must not break (headings).
sub inline {
    my ($source, $whole) = @_;
    my $text = escape($source);
    $text =~ s/\*\*(.+?)\*\*/\\fB$1\\fR/g;
    $text =~ s/`(.+?)`/\\fB$1\\fR/g;
    $text =~ s/(?<![\w\\])\*(.+?)\*(?!\w)/\\fI$1\\fR/g;
    return $text if $whole || $inFirstSection;
    # troff breaks lines only at blanks: allow a break between Chinese characters.
    $text =~ s/($cjk)(?=$cjk)/my $c = $1; $c =~ $noEnd ? $c : "$c\\:"/ge;
    $text =~ s/\\:(?=$noStart)//g;
    return $text;
}

# The lines of a paragraph as one: a line break next to Chinese text is no blank.
sub joined {
    my $text = '';
    for my $line (@_) {
        $line =~ s/^\s+|\s+$//g;
        my $tight = $text eq '' || ($text =~ /$cjk$/ && $line =~ /^$cjk/) || $text =~ /$cjkSign$/ ||
                    $line =~ /^$cjkSign/;
        $text .= $tight ? $line : " $line";
    }
    return $text;
}

my $title = uc $head{name};
$title =~ s/-/\\-/g;
my $sourceName = $source =~ s{.*/}{}r;
print ".\\\" Generated from $sourceName by md2man.pl; edit the source, not this file.\n";
print ".TH $title $head{section} \"$head{date}\" \"ztgl $version\" \"$head{\"manual.$lang\"}\"\n";
# Chinese lines hold no blanks to stretch: set every page ragged right, and keep option
# names whole.
print ".ad l\n.nh\n";

my @blocks;
my @block;
for my $line (@lines, '') {
    if ($line =~ /^#{1,2} /) {
        push @blocks, [@block] if @block;
        push @blocks, [$line];
        @block = ();
    } elsif ($line =~ /^\s*$/) {
        push @blocks, [@block] if @block;
        @block = ();
    } else {
        push @block, $line;
    }
}

my $seenSection = 0;
for my $b (@blocks) {
    my @l = @$b;
    if ($l[0] =~ /^# (.*)/) {
        $inFirstSection = !$seenSection++;
        print ".SH \"", inline($1, 1), "\"\n";
    } elsif ($l[0] =~ /^## (.*)/) {
        print ".SS \"", inline($1, 1), "\"\n";
    } elsif (!grep { !/^    / } @l) {
        print ".PP\n.RS 4\n.nf\n";
        print escape(substr($_, 4)), "\n" for @l;
        print ".fi\n.RE\n";
    } elsif (@l > 1 && $l[1] =~ /^:/) {
        my ($term, @text) = @l;
        s/^:?\s*// for @text;
        print ".TP\n", inline($term), "\n", inline(joined(@text)), "\n";
    } else {
        print ".PP\n", inline(joined(@l)), "\n";
    }
}
