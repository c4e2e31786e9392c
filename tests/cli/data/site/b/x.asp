<%
Dim xb
%>
