#!/usr/bin/python3
"""A TCP relay on 127.0.0.1 that delays each direction, standing for a distant server:
    relay.py TARGET_PORT DELAY_MS
Every byte reaches the other side DELAY_MS after the relay read it, in order, so a round trip
through the relay takes twice DELAY_MS more than a direct one; the rate is left alone. Prints
"port N" once it listens, then relays until its standard input closes (bench/common.sh's
start_server)."""

import asyncio
import sys

CHUNK = 256 * 1024
# Chunks held per direction: a reader that gets this far ahead waits, and so does its sender.
QUEUED = 1024


async def carry(reader, writer, delay):
    loop = asyncio.get_running_loop()
    queue = asyncio.Queue(QUEUED)

    async def read():
        while data := await reader.read(CHUNK):
            await queue.put((loop.time() + delay, data))
        await queue.put((loop.time() + delay, b""))

    async def write():
        while True:
            due, data = await queue.get()
            pause = due - loop.time()
            if pause > 0:
                await asyncio.sleep(pause)
            if not data:
                break
            writer.write(data)
            await writer.drain()
        if writer.can_write_eof():
            writer.write_eof()

    try:
        await asyncio.gather(read(), write())
    except (ConnectionError, OSError):
        pass
    finally:
        writer.close()


async def main():
    target = int(sys.argv[1])
    delay = int(sys.argv[2]) / 1000

    async def relay(client_reader, client_writer):
        try:
            server_reader, server_writer = await asyncio.open_connection("127.0.0.1", target)
        except OSError:
            client_writer.close()
            return
        await asyncio.gather(carry(client_reader, server_writer, delay), carry(server_reader, client_writer, delay))

    server = await asyncio.start_server(relay, "127.0.0.1", 0)
    print("port", server.sockets[0].getsockname()[1], flush=True)
    loop = asyncio.get_running_loop()
    stdin_closed = loop.run_in_executor(None, sys.stdin.read)
    async with server:
        await stdin_closed


if __name__ == "__main__":
    asyncio.run(main())
