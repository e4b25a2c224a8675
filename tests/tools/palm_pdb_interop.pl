#!/usr/bin/perl
# Cross-checks the handheld files against Palm::PDB, a Palm database reader and writer that
# shares no code with ours. In a temporary folder of its own: the handheld tool makes a handheld
# and records two expenses, the interop writer runs a whole synchronisation on it, and Palm::PDB
# reads every file back, record by record, against layouts packed here with Perl's pack. Then the
# other way: Palm::PDB writes a handheld and our reader, the tool's dump and the engine read it.
#
# Usage: palm_pdb_interop.pl HANDHELD_TOOL INTEROP_WRITER
use strict;
use warnings;
use File::Temp qw(tempdir);
use Test::More;
use Palm::PDB;
use Palm::Raw;

&Palm::PDB::RegisterPRCHandlers("Palm::Raw", "");

my ($tool, $writer) = @ARGV;
die "usage: $0 HANDHELD_TOOL INTEROP_WRITER\n" unless defined $writer;
my $dir = tempdir("palm-interop-XXXXXX", TMPDIR => 1, CLEANUP => 1);

sub run_ok {
    my ($name, @command) = @_;
    my $output = qx{@{[ join ' ', map { quotemeta } @command ]} 2>&1};
    is($? >> 8, 0, $name) or diag($output);
    return $output;
}

sub load {
    my ($file) = @_;
    my $pdb = Palm::PDB->new;
    my $ok = eval { $pdb->Load($file); 1 };
    ok($ok, "Palm::PDB loads $file") or diag($@);
    return $pdb;
}

sub record_texts { return join('', map { "$_\0" } @_) }

# ---- our files, read by Palm::PDB --------------------------------------------------------------

my $hh = "$dir/handheld";
run_ok("handheld init", $tool, "init", $hh, "--version", "2", "--user", "Perl Tester");
run_ok("first expense", $tool, "add-expense", $hh, "--type", "10", "--date", "20041225", "--amount", "1234",
       "--item", "Gas", "--category", "Fuel", "--vendor", "Shell", "--account", "CASH", "--check", "101",
       "--detail", "Trip");
run_ok("second expense", $tool, "add-expense", $hh, "--type", "11", "--date", "20240229", "--amount", "99",
       "--comp", "2", "--reimbursed", "--project", "1234567");

my $app = load("$hh/Quillmar.prc");
is($app->{name}, "Quillmar", "application name");
ok($app->{attributes}{ResDB}, "application is a resource database");
is($app->{creator}, "Qlmr", "application creator");
is(scalar @{$app->{resources}}, 1, "one resource");
is($app->{resources}[0]{type}, "tver", "tver resource");
is($app->{resources}[0]{data}, "1.0,2\0", "version text");

my $user = load("$hh/HotSync User.prc");
is($user->{resources}[0]{data}, "Perl Tester\0", "user name");

my $expenses = load("$hh/Qlmr-Expenses.pdb");
is($expenses->{type}, "DATA", "expenses type");
is($expenses->{creator}, "Qlmr", "expenses creator");
is(scalar @{$expenses->{records}}, 2, "two expense records");
is($expenses->{records}[0]{data},
   pack("n N N N C C", 10, 20041225, 1234, 0, 1, 0) . record_texts("Gas", "Fuel", "Shell", "CASH", "101", "Trip"),
   "first expense byte for byte");
is($expenses->{records}[1]{data}, pack("n N N N C C", 11, 20240229, 99, 1234567, 2, 1) . ("\0" x 6),
   "second expense: 22 bytes with six empty texts");
ok($expenses->{records}[0]{attributes}{Dirty}, "new handheld records are dirty");
isnt($expenses->{records}[0]{id}, $expenses->{records}[1]{id}, "distinct unique IDs");

my $sync = run_ok("synchronisation", $writer, $hh);
like($sync, qr/^import 0 push 0 expenses 2$/m, "both expenses imported, lookups sent");

is(scalar @{load("$hh/Qlmr-Expenses.pdb")->{records}}, 0, "handheld expenses emptied");

my %expected = (
    "Qlmr-Accounts"   => [record_texts("CASH"), record_texts("VISA")],
    "Qlmr-ExpTypes"   => [pack("n C", 0, 0) . record_texts("TaxDed"), pack("n C", 10, 1) . record_texts("Car"),
                          pack("n C", 11, 2) . record_texts("Meal")],
    "Qlmr-Categories" => [pack("n", 0) . record_texts("GENERAL"), pack("n", 10) . record_texts("Fuel"),
                          pack("n", 11) . record_texts("Lunch")],
    "Qlmr-Projects"   => [pack("N", 1234567) . record_texts("Caf\xe9")],
    "Qlmr-ExpFilter"  => [pack("n N", 0, 0) . record_texts("TaxDed"), pack("n N", 10, 0) . record_texts("Car"),
                          pack("n N", 0xFFFE, 1234567) . record_texts("Caf\xe9")],
);
for my $name (sort keys %expected) {
    my $pdb = load("$hh/$name.pdb");
    is($pdb->{name}, $name, "$name: name");
    is($pdb->{type}, "DATA", "$name: type");
    is($pdb->{creator}, "Qlmr", "$name: creator");
    ok(!$pdb->{attributes}{ResDB}, "$name: a record database");
    is_deeply([map { $_->{data} } @{$pdb->{records}}], $expected{$name}, "$name: records byte for byte");
    my %ids = map { $_->{id} => 1 } @{$pdb->{records}};
    is(scalar keys %ids, scalar @{$pdb->{records}}, "$name: unique IDs distinct");
    ok(!exists $ids{0}, "$name: no unique ID 0");
    ok($pdb->{uniqueIDseed} >= (sort { $b <=> $a } keys %ids)[0], "$name: seed at least the largest ID");
    ok((scalar grep { $_->{category} == 0 && !$_->{attributes}{Dirty} } @{$pdb->{records}})
       == scalar @{$pdb->{records}}, "$name: attributes 0, category 0");
    ok($pdb->{ctime} > 1_000_000_000, "$name: created in the 1904 epoch");
}

my $prefs = load("$hh/Saved Preferences.prc");
is($prefs->{type}, "sprf", "preferences type");
is($prefs->{creator}, "psys", "preferences creator");
ok($prefs->{attributes}{ResDB} && $prefs->{attributes}{Backup}, "preferences: ResDB and Backup");
my ($pref) = grep { $_->{type} eq "Qlmr" && $_->{id} == 0 } @{$prefs->{resources}};
ok($pref, "conduit preference Qlmr/0");
is($pref->{data}, pack("n", 0) . pack("v v V V", 7, 0, 1, 0), "version 0, then PalmUpdt 7 and the defaults");

# ---- Palm::PDB's files, read by ours -----------------------------------------------------------

my $theirs = "$dir/theirs";
mkdir $theirs or die "mkdir $theirs: $!";
my $papp = Palm::Raw->new;
$papp->{name} = "Quillmar";
$papp->{type} = "appl";
$papp->{creator} = "Qlmr";
$papp->{attributes}{ResDB} = 1;
my $resource = $papp->append_Resource;
$resource->{type} = "tver";
$resource->{id} = 1000;
$resource->{data} = "1.5,4\0";
$papp->Write("$theirs/Quillmar.prc");

my $pexp = Palm::Raw->new;
$pexp->{name} = "Qlmr-Expenses";
$pexp->{type} = "DATA";
$pexp->{creator} = "Qlmr";
for my $item ("Taxi", "Hotel") {
    my $record = $pexp->append_Record;
    $record->{data} = pack("n N N N C C", 10, 20230615, 4550, 0, 1, 0) . record_texts($item, "", "", "", "", "");
}
$pexp->Write("$theirs/Qlmr-Expenses.pdb");

my $dump = run_ok("dump of Palm::PDB's files", $tool, "dump", $theirs);
like($dump, qr/resource tver 1000 \(6 bytes\): "1\.5,4"/, "dump shows their version text");
like($dump, qr/expense type 10, date 20230615, amount 45\.50, project 0, TypeComp 1, not reimbursed\n\s+item "Hotel"/,
     "dump decodes their expense");
my $theirsync = run_ok("synchronisation of Palm::PDB's handheld", $writer, $theirs);
like($theirsync, qr/^import 0 push 0 expenses 2$/m, "their two expenses imported");
is(scalar @{load("$theirs/Qlmr-Expenses.pdb")->{records}}, 0, "their expense database emptied");

done_testing();
