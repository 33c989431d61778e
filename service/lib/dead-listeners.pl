#!/usr/bin/perl
# The dead proxies of run-local's list that need a listener (Linux, loopback), all in this one
# process so that they start at once and stop with one signal:
#   black-holed ADDRESS: connection attempts get no answer at all. The listener's accept queue
#     (backlog 1) is filled by two connections of our own that are never accepted; Linux then
#     drops every further SYN, so a client's connect waits until its system gives up.
#   silent ADDRESS: connections are accepted, whatever arrives is read, and nothing is ever sent.
# Usage: dead-listeners.pl PORT KIND:ADDRESS... Prints "ready" once every black-holed address
# has been seen to swallow a connection attempt; then runs until it is killed.
# Only perl-base modules: perl-base is on every Debian system.
use strict;
use warnings;
use Errno qw(EINPROGRESS EAGAIN EINTR);
use Fcntl qw(F_GETFL F_SETFL O_NONBLOCK);
use Socket qw(PF_INET SOCK_STREAM SOL_SOCKET SO_REUSEADDR SO_ERROR SOMAXCONN
  inet_aton pack_sockaddr_in);

$| = 1;
my $port = shift @ARGV;
die "usage: dead-listeners.pl PORT KIND:ADDRESS...\n"
  unless defined $port && $port =~ /^[0-9]+$/;
my (@holes, @silent);
for (@ARGV) {
    my ($kind, $address) = /^(black-holed|silent):([0-9.]+)$/
      or die "dead-listeners: not KIND:ADDRESS: $_\n";
    push @{ $kind eq 'silent' ? \@silent : \@holes }, $address;
}

sub address_of { pack_sockaddr_in($port, inet_aton($_[0]) // die "dead-listeners: bad address $_[0]\n") }

sub non_blocking {
    my $flags = fcntl($_[0], F_GETFL, 0) or die "dead-listeners: fcntl: $!\n";
    fcntl($_[0], F_SETFL, $flags | O_NONBLOCK) or die "dead-listeners: fcntl: $!\n";
}

sub listener {
    my ($address, $backlog) = @_;
    socket(my $socket, PF_INET, SOCK_STREAM, 0) or die "dead-listeners: socket: $!\n";
    # A connection of an earlier run in TIME_WAIT must not keep the address.
    setsockopt($socket, SOL_SOCKET, SO_REUSEADDR, 1) or die "dead-listeners: setsockopt: $!\n";
    bind($socket, address_of($address)) or die "dead-listeners: cannot listen at $address:$port: $!\n";
    listen($socket, $backlog) or die "dead-listeners: listen at $address:$port: $!\n";
    non_blocking($socket);
    return $socket;
}

# start_connect ADDRESS: a non-blocking connect under way (or done).
sub start_connect {
    socket(my $socket, PF_INET, SOCK_STREAM, 0) or die "dead-listeners: socket: $!\n";
    non_blocking($socket);
    connect($socket, address_of($_[0])) or $! == EINPROGRESS
      or die "dead-listeners: connect to $_[0]:$port: $!\n";
    return $socket;
}

sub mask_of {
    my $mask = '';
    vec($mask, fileno($_), 1) = 1 for @_;
    return $mask;
}

# finished SECONDS SOCKETS...: the connects among SOCKETS that end (either way) within SECONDS.
sub finished {
    my ($seconds, @sockets) = @_;
    my $mask = mask_of(@sockets);
    my $count = select(undef, my $out = $mask, undef, $seconds);
    die "dead-listeners: select: $!\n" if $count < 0 && $! != EINTR;
    return grep { vec($out, fileno($_), 1) } @sockets;
}

# fill CONNECTS: waits until every connect has succeeded.
sub fill {
    my @waiting = @_;
    while (@waiting) {
        my @done = finished(5, @waiting) or die "dead-listeners: a connect to our own listener hangs\n";
        for my $socket (@done) {
            my $error = unpack('i', getsockopt($socket, SOL_SOCKET, SO_ERROR));
            die "dead-listeners: a connect to our own listener failed: " . ($! = $error) . "\n" if $error;
        }
        my %done = map { fileno($_) => 1 } @done;
        @waiting = grep { !$done{ fileno($_) } } @waiting;
    }
}

my @hole_listeners = map { listener($_, 1) } @holes;
my @silent_listeners = map { listener($_, SOMAXCONN) } @silent;
# Kept open for as long as this process runs: closing one would free a place in the queue.
# One round at a time, so that no SYN meets a half-open one of our own.
my @fillers;
for (1 .. 2) {
    my @round = map { start_connect($_) } @holes;
    fill(@round);
    push @fillers, @round;
}
# A probe that is answered at all (accepted or refused) within 0.1 s means this system does not
# drop SYNs at a full queue (e.g. net.ipv4.tcp_abort_on_overflow is set).
my @probes = map { start_connect($_) } @holes;
if (my @answered = finished(0.1, @probes)) {
    die "dead-listeners: a black-holed address answered a connection attempt\n";
}
close $_ for @probes;
print "ready\n";

my %clients;
while (1) {
    my $mask = mask_of(@silent_listeners, values %clients);
    last unless length $mask;
    my $count = select(my $in = $mask, undef, undef, undef);
    if ($count < 0) {
        next if $! == EINTR;
        die "dead-listeners: select: $!\n";
    }
    for my $listener (@silent_listeners) {
        next unless vec($in, fileno($listener), 1);
        while (1) {
            my $client;
            accept($client, $listener) or last;
            non_blocking($client);
            $clients{ fileno($client) } = $client;
        }
    }
    for my $fd (keys %clients) {
        next unless vec($in, $fd, 1);
        my $read = sysread($clients{$fd}, my $ignored, 65536);
        next if !defined $read && ($! == EAGAIN || $! == EINTR);
        # The client gave up (end of stream or reset): its socket is not kept.
        close delete $clients{$fd} unless $read;
    }
}
# With no silent address there is nothing to serve: only the queues have to stay full.
sleep while 1;
