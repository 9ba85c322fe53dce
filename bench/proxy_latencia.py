#!/usr/bin/env python3
"""A TCP proxy that delays every byte by a fixed time in each direction: what a
workstation on a real network sees of the server (netem is not available in
every container). Usage: proxy_latencia.py LISTEN_PORT TARGET_HOST TARGET_PORT DELAY_MS
The delay applies each way, so the round trip grows by twice DELAY_MS."""
import asyncio
import sys
import time


async def pump(reader, writer, delay):
    queue = asyncio.Queue()

    async def forward():
        while True:
            due, data = await queue.get()
            if data is None:
                break
            wait = due - time.monotonic()
            if wait > 0:
                await asyncio.sleep(wait)
            writer.write(data)
            await writer.drain()
        writer.close()

    task = asyncio.create_task(forward())
    try:
        while True:
            data = await reader.read(65536)
            if not data:
                break
            queue.put_nowait((time.monotonic() + delay, data))
    finally:
        queue.put_nowait((0, None))
        await task


async def main():
    port, host, target, delay = int(sys.argv[1]), sys.argv[2], int(sys.argv[3]), float(sys.argv[4]) / 1000

    async def handle(client_reader, client_writer):
        server_reader, server_writer = await asyncio.open_connection(host, target)
        await asyncio.gather(pump(client_reader, server_writer, delay), pump(server_reader, client_writer, delay),
                             return_exceptions=True)

    server = await asyncio.start_server(handle, '127.0.0.1', port)
    async with server:
        await server.serve_forever()


asyncio.run(main())
